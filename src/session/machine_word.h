#pragma once

#include <string>

namespace murmelix {

// A word a recogniser heard in a sequence as it sounded, knowing nothing of its source.
struct MachineWord {
    std::string word;
    double confidence = 0.0;  // the recogniser's posterior, 0 to 1
    double start = 0.0;       // seconds into the sequence
    double end = 0.0;

    bool operator==(const MachineWord&) const = default;
};

}  // namespace murmelix
