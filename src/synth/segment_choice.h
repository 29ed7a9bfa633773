#pragma once

#include <cstdint>

namespace murmelix {

// One chosen stretch of the document: frames start .. start + length - 1. The number names
// the choice (grid cell or cue position) for the session and the feedback window.
struct SegmentChoice {
    int32_t start = 0;
    int32_t length = 0;
    int32_t number = 0;
    bool operator==(const SegmentChoice&) const = default;
};

}  // namespace murmelix
