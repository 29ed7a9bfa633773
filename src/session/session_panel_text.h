#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace murmelix {

// The texts the session panel shows for the session as it stands.
struct SessionPanelText {
    std::string recordMode;   // "Recording" while record mode is on, else empty
    std::string sequence;     // "current/count", "0/0" for an empty session
    std::string sessionFile;  // the session file name without its folder
    std::string dateTime;     // display form of the current sequence's date/time
    std::string question;
    std::string answer;
    // The one line of the cue label memo; none (no line at all) without a sequence.
    std::optional<std::string> cueLabels;
    // What the current sequence played, what a recogniser heard in it and how close the answer
    // came, as (caption, text) lines; none without a sequence.
    std::vector<std::pair<std::string, std::string>> explanation = {};

    bool operator==(const SessionPanelText&) const = default;
};

}  // namespace murmelix
