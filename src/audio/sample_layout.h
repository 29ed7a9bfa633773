#pragma once

#include <cstdint>

namespace murmelix {

// How one sample of one channel is found in a frame array and what its value is. All
// signal code goes through read/write so that it never sees the 8/16-bit difference.
// 8-bit samples are unsigned around 128; 16-bit samples are signed little-endian.
struct SampleLayout {
    int32_t frameSize = 0;
    int32_t bitsPerSample = 0;

    // Channel origin: the array start for the left (or only) channel, plus half a frame
    // for the right one.
    const uint8_t* origin(const uint8_t* frames, int channel) const {
        return frames + (channel == 0 ? 0 : frameSize / 2);
    }
    uint8_t* origin(uint8_t* frames, int channel) const {
        return frames + (channel == 0 ? 0 : frameSize / 2);
    }

    // Frame index may be negative: it addresses frames before the origin.
    int read(const uint8_t* origin, int64_t frame) const {
        const uint8_t* p = origin + frame * frameSize;
        if (bitsPerSample == 8) {
            return decode<8>(p);
        }
        if (bitsPerSample == 16) {
            return decode<16>(p);
        }
        return 0;
    }

    // No clipping: the value is wrapped into the sample width. Callers clip.
    void write(uint8_t* origin, int64_t frame, int value) const {
        uint8_t* p = origin + frame * frameSize;
        if (bitsPerSample == 8) {
            encode<8>(p, value);
        } else if (bitsPerSample == 16) {
            encode<16>(p, value);
        }
    }

    // The value of one stored sample of a width known at compile time, for loops that run
    // over millions of samples and should not test the width for each one.
    template <int Bits>
    static int decode(const uint8_t* p) {
        static_assert(Bits == 8 || Bits == 16);
        if constexpr (Bits == 8) {
            return static_cast<int>(p[0]) - 128;
        } else {
            return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
        }
    }

    template <int Bits>
    static void encode(uint8_t* p, int value) {
        static_assert(Bits == 8 || Bits == 16);
        if constexpr (Bits == 8) {
            p[0] = static_cast<uint8_t>((value + 128) & 0xFF);
        } else {
            const auto bits = static_cast<uint16_t>(value & 0xFFFF);
            p[0] = static_cast<uint8_t>(bits & 0xFF);
            p[1] = static_cast<uint8_t>(bits >> 8);
        }
    }
};

}  // namespace murmelix
