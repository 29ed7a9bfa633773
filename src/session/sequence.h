#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session/machine_word.h"
#include "session/segment.h"

namespace murmelix {

// One generated stream as it was heard, with the moment it was made and the listener's
// question and interpretation. Owned by the Session; its neighbours are its neighbours in
// the session's list.
struct SEQUENCE {
    std::string dateTime;  // stored form, see SessionDateTime
    std::string question;
    std::string answer;
    std::vector<SEGMENT> entries;  // may be empty for a sequence read from a file
    // What a recogniser heard in it; kept beside the session file, never in it. None until
    // it is transcribed.
    std::optional<std::vector<MachineWord>> machineWords = std::nullopt;
    // The settings that made it, as the render command's options (segment controls, random
    // source with its seed, speed); kept beside the session file too. Empty when not known.
    std::vector<std::string> madeWith = {};

    // The settings as one line of options; an option's value with spaces in quotes.
    std::string madeWithText() const;

    bool operator==(const SEQUENCE&) const = default;
};

}  // namespace murmelix
