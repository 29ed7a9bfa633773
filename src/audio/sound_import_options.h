#pragma once

#include <cstdint>

namespace murmelix {

// What the person chose for an import. The defaults keep as much of the source as a
// document can hold.
struct SoundImportOptions {
    // 1 mono, 2 stereo; 0: mono stays mono, everything else becomes stereo.
    int channels = 0;
    // 8 or 16; 0: 8-bit PCM sources stay 8-bit, everything else becomes 16-bit.
    int bits = 0;
    // A pair of source channels (zero-based) to take as left and right instead of the
    // downmix; both -1 for the downmix. With one output channel the pair is averaged.
    int left = -1;
    int right = -1;
    // The start of the dither's random sequence.
    uint32_t ditherSeed = 0x2545F491u;
};

}  // namespace murmelix
