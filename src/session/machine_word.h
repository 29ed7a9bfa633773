#pragma once

#include <string>
#include <vector>

namespace murmelix {

// A word a recogniser heard in a sequence as it sounded, knowing nothing of its source.
struct MachineWord {
    std::string word;
    double confidence = 0.0;  // the recogniser's posterior, 0 to 1
    double start = 0.0;       // seconds into the sequence
    double end = 0.0;

    // The words one after another, separated by spaces.
    static std::string text(const std::vector<MachineWord>& words) {
        std::string out;
        for (const MachineWord& w : words) {
            out += (out.empty() ? "" : " ") + w.word;
        }
        return out;
    }

    bool operator==(const MachineWord&) const = default;
};

}  // namespace murmelix
