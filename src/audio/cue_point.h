#pragma once

#include <cstdint>
#include <string>

namespace murmelix {

struct CuePoint {
    uint32_t identifier = 0;
    uint32_t position = 0;  // first frame of the region (the cue's sample offset)
    uint32_t length = 0;    // frames; 0 means "to the end of the data"
    std::string label;
    std::string note;

    bool operator==(const CuePoint&) const = default;
};

}  // namespace murmelix
