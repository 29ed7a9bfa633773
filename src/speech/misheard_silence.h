#pragma once

#include <cstdint>
#include <vector>

#include "speech/frame_span.h"

namespace murmelix {

// Where free recognition took sound as loud as speech for silence. Without a transcript the
// recogniser may end its sentence early and let the closing silence run over the last
// words, or hear run-together words it cannot match as a pause: recordings joined from
// single words, and every sequence the program plays, are made that way. Heard again on
// their own, such stretches mostly give words.
class MisheardSilence {
  public:
    // A silence is heard again when at least this many of its blocks of 10 ms are loud
    // (LoudSound).
    static constexpr int kLeastLoudBlocks = 25;
    // The stretch heard again reaches this many blocks past its outer loud ones.
    static constexpr int kMarginBlocks = 5;

    // The parts of `silences` (document frames, in order) to hear again: each from a little
    // before its first loud block to a little after its last, within the silence. `levels`
    // holds the recording's level in dB per `hop` frames (LevelMeter).
    static std::vector<FrameSpan> stretches(const std::vector<FrameSpan>& silences,
                                            const std::vector<float>& levels, int64_t hop);
};

}  // namespace murmelix
