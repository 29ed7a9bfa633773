#pragma once

#include <list>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "session/machine_word.h"
#include "session/recording_identity.h"
#include "session/sequence.h"

namespace murmelix {

// What the program keeps about a session beside its file, in NAME.oqt.json: the words a
// recogniser heard in each sequence, the settings that made it, and the recording. The session file
// itself stays in its own format byte for byte (its other readers take every line after a
// sequence's header for an entry), so nothing new goes into it.
//
// Each sequence is kept with its date and entry count, so that data is only ever given to the
// sequence it was made for, even after the session was edited by another program.
struct SessionSideData {
    struct Sequence {
        std::string dateTime;
        size_t entries = 0;
        std::optional<std::vector<MachineWord>> machineWords;  // none: not transcribed
        std::vector<std::string> madeWith = {};                // empty: not known
        bool operator==(const Sequence&) const = default;
    };
    RecordingIdentity recording;
    std::vector<Sequence> sequences;

    bool operator==(const SessionSideData&) const = default;
};

class SessionSideFile {
  public:
    static std::string pathFor(const std::string& sessionPath) { return sessionPath + ".json"; }

    // Done with `present` false when there is no such file (not an error). Failed, naming the
    // file and what is wrong, when it is damaged; `out` is then empty.
    static Result read(const std::string& path, SessionSideData& out, bool& present);
    // Written atomically: the old file stays whole until the new one is.
    static Result write(const std::string& path, const SessionSideData& data);
    static std::string text(const SessionSideData& data);
    static Result parse(const std::string& text, const std::string& path, SessionSideData& out);

    // The side data's sequences laid against the session's: each session sequence gets the
    // kept sequence of its place when date and entry count agree, else an empty one. `stale`
    // counts those that did not agree.
    static std::vector<SessionSideData::Sequence> matched(const std::list<SEQUENCE>& session,
                                                          const SessionSideData& data,
                                                          size_t& stale);
};

}  // namespace murmelix
