#pragma once

#include <optional>
#include <string>
#include <vector>

namespace murmelix {

// One clip of a listening test: what the listeners hear under a neutral code, and what only
// the test's key knows about it.
struct ListeningClip {
    enum class Kind { Sequence, Control, Reversed };

    std::string code;  // "07": all a listener ever sees of it
    Kind kind = Kind::Sequence;
    int sequence = 0;  // the session's sequence it is, is like, or reverses (from 1)
    std::vector<std::string> madeWith;  // a control's settings, its own seed among them
    std::string playedWords;            // the words of the recording it carried, in play order
    std::optional<std::string> machineWords;  // what the recogniser heard in the sequence
    double seconds = 0.0;

    // "clips/07.wav" inside the test folder.
    std::string fileName() const { return "clips/" + code + ".wav"; }
    static const char* kindName(Kind kind);

    bool operator==(const ListeningClip&) const = default;
};

}  // namespace murmelix
