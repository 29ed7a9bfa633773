#pragma once

#include <cstddef>
#include <cstdint>

namespace murmelix {

// Conversion between the PCM the program keeps (8-bit unsigned or 16-bit signed
// little-endian, interleaved) and the float frames the sound system works with (-1 to 1).
// None of these allocate, so the audio callback may use them.
class PcmCodec {
  public:
    static void decode(const uint8_t* bytes, size_t frames, int channels, int bits, float* out);
    // Rounds to the nearest step and clips to the range of the sample width.
    static void encode(const float* in, size_t frames, int channels, int bits, uint8_t* out);
    // Mono goes to every channel, several channels to mono as their mean; otherwise the
    // channels both sides have are copied and the rest are silent.
    static void mapChannels(const float* in, size_t frames, int inChannels, float* out,
                            int outChannels);
};

}  // namespace murmelix
