#pragma once

#include <cstdint>
#include <vector>

#include "audio/cue_point.h"

namespace murmelix {

// Region lengths from the loops sampler formats store beside their markers (the smpl
// chunk of RIFF files, the INST loops of AIFF files).
class CueRegions {
  public:
    // A loop over frames start .. start + length - 1 gives its length to the cue point it
    // belongs to when that one has none yet: the cue with the loop's identifier (when not
    // 0) at the loop's start, else any cue at the loop's start. A loop that meets no cue
    // point becomes a region of its own, labelled "Loop N" with its 1-based number.
    static void applyLoop(std::vector<CuePoint>& cues, uint32_t identifier, uint32_t start,
                          uint32_t length, int number);

    // Cue points at or past the end of the samples are dropped, and lengths that reach past
    // it are cut to it.
    static void fitTo(std::vector<CuePoint>& cues, uint32_t frameCount);
};

}  // namespace murmelix
