#pragma once

#include <cstdint>
#include <vector>

#include "audio/audio_document.h"
#include "audio/cue_point.h"
#include "speech/frame_span.h"

namespace murmelix {

// The last touches to found regions (kept in order, not overlapping): room around each,
// borders that do not click, and the cue table they become.
class RegionBorders {
  public:
    // Each region grows by `padding` frames on each side, but not past the middle of the
    // pause to its neighbour nor out of the data.
    static void pad(std::vector<FrameSpan>& spans, int64_t padding, int64_t frameCount);
    // Each border moves to the nearest rising zero crossing (ZeroCrossing's rule, looked for
    // both ways) that keeps the regions in order and not empty.
    static void snapToZeroCrossings(const AudioDocument& doc, std::vector<FrameSpan>& spans);
    // Cue points with identifiers 1, 2, ...; a region reaching the end of the data keeps its
    // length (0 would mean the same, but the table should say what was found).
    static std::vector<CuePoint> cues(const std::vector<FrameSpan>& spans);
    // The rising zero crossing nearest to `frame` within [low, high]; `frame` when none is.
    static int64_t nearestCrossing(const AudioDocument& doc, int64_t frame, int64_t low,
                                   int64_t high);
};

}  // namespace murmelix
