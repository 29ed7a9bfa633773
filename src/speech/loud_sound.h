#pragma once

#include <cstdint>
#include <vector>

#include "speech/frame_span.h"

namespace murmelix {

// Sound as loud as the speech of a recording: within kWithinDb of the level its loudest
// 100 ms reach. Room tone, breaths and quiet noise stay below it; a click or two does not
// set it, and a recording of one short word still has it inside the word.
class LoudSound {
  public:
    static constexpr float kWithinDb = 20.0f;
    // The longest loud end a word is given: a voice's fade, not noise or music.
    static constexpr int kMostClaimedBlocks = 25;

    // The least level in dB that is loud, for `levels` in dB per block (LevelMeter).
    static float threshold(const std::vector<float>& levels);
    // Each region's borders next to a pause move out over the loud blocks they touch, up to
    // the neighbour, when that loud sound ends within kMostClaimedBlocks: the recogniser
    // hears the end of a voice unlike its model's as silence while it is still loud. Loud
    // sound that runs on, or into the edge of the data, is left to the pause.
    static void claimLoudEdges(std::vector<FrameSpan>& spans, const std::vector<float>& levels,
                               int64_t hop, int64_t frameCount);
};

}  // namespace murmelix
