#pragma once

#include <cstdint>
#include <string>

namespace murmelix {

// One played segment of a recorded sequence, in play order. Owned by its SEQUENCE.
struct SEGMENT {
    int32_t start = 0;   // first sample frame in the session's WAV file
    int32_t length = 0;  // sample frames
    // Running number within its generation, from 1 in queueing order; becomes the cue
    // identifier and the "Segment %d" label when the sequence is exported.
    int32_t number = 0;
    // Number of the segment the selection chose (grid cell or cue position); it drives the
    // feedback symbol on replay. -1 for entries of old files, which did not keep it.
    int32_t index = -1;
    std::string label;  // cue label when the generation cut at cue points, else empty
    bool fade = false;  // cross-faded with its predecessor when it was played

    bool operator==(const SEGMENT&) const = default;
};

}  // namespace murmelix
