#include "session/session_side_file.h"

#include <cerrno>
#include <nlohmann/json.hpp>

#include "base/atomic_file.h"
#include "base/input_file.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kVersion = 1;
constexpr uint64_t kMaxFileSize = 256 * 1024 * 1024;

Json wordsJson(const std::vector<MachineWord>& words) {
    Json out = Json::array();
    for (const MachineWord& w : words) {
        out.push_back(Json{
            {"word", w.word}, {"confidence", w.confidence}, {"start", w.start}, {"end", w.end}});
    }
    return out;
}

std::vector<MachineWord> wordsFrom(const Json& list) {
    std::vector<MachineWord> out;
    for (const Json& w : list) {
        out.push_back({w.at("word").get<std::string>(), w.at("confidence").get<double>(),
                       w.at("start").get<double>(), w.at("end").get<double>()});
    }
    return out;
}

}  // namespace

std::string SessionSideFile::text(const SessionSideData& data) {
    Json sequences = Json::array();
    for (const SessionSideData::Sequence& s : data.sequences) {
        Json sequence{
            {"date_time", s.dateTime},
            {"entries", s.entries},
            {"machine_words", s.machineWords ? wordsJson(*s.machineWords) : Json(nullptr)}};
        if (!s.madeWith.empty()) {
            sequence["made_with"] = s.madeWith;
        }
        sequences.push_back(std::move(sequence));
    }
    const Json root{{"murmelix_session_data", kVersion},
                    {"recording", {{"size", data.recording.size}, {"hash", data.recording.hash}}},
                    {"sequences", sequences}};
    // Texts of other systems' files need not be UTF-8: kept byte for byte, never refused.
    return root.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

Result SessionSideFile::parse(const std::string& text, const std::string& path,
                              SessionSideData& out) {
    out = {};
    try {
        const Json root = Json::parse(text);
        if (root.at("murmelix_session_data").get<int>() != kVersion) {
            return Result::failure(formatText(
                "The session data file '%s' was written by a newer Murmelix and is left as it is.",
                path.c_str()));
        }
        SessionSideData data;
        data.recording.size = root.at("recording").at("size").get<uint64_t>();
        data.recording.hash = root.at("recording").at("hash").get<std::string>();
        for (const Json& s : root.at("sequences")) {
            SessionSideData::Sequence sequence;
            sequence.dateTime = s.at("date_time").get<std::string>();
            sequence.entries = s.at("entries").get<size_t>();
            if (!s.at("machine_words").is_null()) {
                sequence.machineWords = wordsFrom(s.at("machine_words"));
            }
            if (s.contains("made_with")) {
                sequence.madeWith = s.at("made_with").get<std::vector<std::string>>();
            }
            data.sequences.push_back(std::move(sequence));
        }
        out = std::move(data);
        return Result::success();
    } catch (const nlohmann::json::exception& e) {
        return Result::failure(formatText(
            "The session data file '%s' is damaged (%s); it is left as it is and not used.",
            path.c_str(), e.what()));
    }
}

Result SessionSideFile::read(const std::string& path, SessionSideData& out, bool& present) {
    out = {};
    present = false;
    InputFile file;
    if (!file.open(path)) {
        if (file.error() == ENOENT) {
            return Result::success();
        }
        return Result::failure(formatText("Can't read the session data file '%s' (%s).",
                                          path.c_str(), file.reason().c_str()));
    }
    present = true;
    std::string text;
    if (file.size() > kMaxFileSize || !file.readAll(text)) {
        return Result::failure(
            formatText("Can't read the session data file '%s' (%s).", path.c_str(),
                       file.size() > kMaxFileSize ? "larger than 256 MB" : file.reason().c_str()));
    }
    return parse(text, path, out);
}

Result SessionSideFile::write(const std::string& path, const SessionSideData& data) {
    AtomicFile file(path);
    if (!file.open() || !file.write(text(data)) || !file.commit()) {
        return Result::failure(formatText("Can't write the session data file '%s' (%s).",
                                          path.c_str(),
                                          InputFile::describeError(file.error()).c_str()));
    }
    return Result::success();
}

std::vector<SessionSideData::Sequence> SessionSideFile::matched(const std::list<SEQUENCE>& session,
                                                                const SessionSideData& data,
                                                                size_t& stale) {
    std::vector<SessionSideData::Sequence> out;
    stale = 0;
    size_t at = 0;
    for (const SEQUENCE& sequence : session) {
        SessionSideData::Sequence mine{sequence.dateTime, sequence.entries.size(), std::nullopt};
        if (at < data.sequences.size()) {
            const SessionSideData::Sequence& kept = data.sequences[at];
            if (kept.dateTime == mine.dateTime && kept.entries == mine.entries) {
                mine.machineWords = kept.machineWords;
                mine.madeWith = kept.madeWith;
            } else if (kept.machineWords || !kept.madeWith.empty()) {
                ++stale;
            }
        }
        out.push_back(std::move(mine));
        ++at;
    }
    return out;
}

}  // namespace murmelix
