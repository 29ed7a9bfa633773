#pragma once

#include <cstdint>

namespace murmelix {

// The PCM wave format as stored in a "fmt " chunk (18 bytes with the extra-size field).
struct WaveFormat {
    static constexpr int kRecordSize = 18;

    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;

    // Integer PCM with the derived block size and byte rate filled in; no extra bytes.
    static constexpr WaveFormat pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
        WaveFormat format;
        format.formatTag = 1;
        format.channels = channels;
        format.samplesPerSec = rate;
        format.bitsPerSample = bits;
        format.blockAlign = static_cast<uint16_t>(channels * bits / 8);
        format.avgBytesPerSec = rate * format.blockAlign;
        return format;
    }

    // Reads the first min(size, 18) bytes; fields the bytes do not cover are 0.
    static WaveFormat fromBytes(const uint8_t* bytes, uint32_t size);
    void toBytes(uint8_t out[kRecordSize]) const;

    bool isSupportedPcm() const {
        return formatTag == 1 && (bitsPerSample == 8 || bitsPerSample == 16) &&
               (channels == 1 || channels == 2);
    }
    bool operator==(const WaveFormat&) const = default;
};

}  // namespace murmelix
