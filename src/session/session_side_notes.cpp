#include "session/session_side_notes.h"

#include <algorithm>

#include "base/text_format.h"
#include "session/session_side_file.h"

namespace murmelix {

std::string SessionSideNotes::attach(const std::string& sessionPath, const std::string& wavPath,
                                     std::list<SEQUENCE>& sequences) {
    const std::string sidePath = SessionSideFile::pathFor(sessionPath);
    SessionSideData data;
    bool present = false;
    if (Result read = SessionSideFile::read(sidePath, data, present); !read.ok()) {
        return read.message();
    }
    if (!present) {
        return {};
    }
    RecordingIdentity identity;
    if (!RecordingIdentity::of(wavPath, identity).ok() || !(identity == data.recording)) {
        return formatText(
            "The words kept in '%s' were heard in another recording than '%s' (it has changed "
            "or is missing): they are not used.",
            sidePath.c_str(), wavPath.c_str());
    }
    size_t stale = 0;
    const auto matched = SessionSideFile::matched(sequences, data, stale);
    auto kept = matched.begin();
    for (SEQUENCE& sequence : sequences) {
        sequence.machineWords = kept->machineWords;
        sequence.madeWith = kept->madeWith;
        ++kept;
    }
    if (stale == 0) {
        return {};
    }
    return formatText(
        "%zu sequences of the session are not those '%s' was written for (the session was "
        "changed by another program): their words are not used.",
        stale, sidePath.c_str());
}

Result SessionSideNotes::keep(const std::string& sessionPath, const std::string& wavPath,
                              const std::list<SEQUENCE>& sequences) {
    if (std::none_of(sequences.begin(), sequences.end(), [](const SEQUENCE& s) {
            return s.machineWords.has_value() || !s.madeWith.empty();
        })) {
        return Result::success();
    }
    if (Result writable = canKeep(sessionPath); !writable.ok()) {
        return writable;
    }
    SessionSideData data;
    if (Result known = RecordingIdentity::of(wavPath, data.recording); !known.ok()) {
        return known;
    }
    for (const SEQUENCE& sequence : sequences) {
        data.sequences.push_back(
            {sequence.dateTime, sequence.entries.size(), sequence.machineWords, sequence.madeWith});
    }
    return SessionSideFile::write(SessionSideFile::pathFor(sessionPath), data);
}

Result SessionSideNotes::canKeep(const std::string& sessionPath) {
    SessionSideData kept;
    bool present = false;
    if (Result read = SessionSideFile::read(SessionSideFile::pathFor(sessionPath), kept, present);
        !read.ok()) {
        return Result::failure(read.message() + " The words heard in the sequences are not kept.");
    }
    return Result::success();
}

}  // namespace murmelix
