#include "audio/wave_format.h"

#include <algorithm>
#include <cstring>

#include "base/byte_order.h"

namespace murmelix {

WaveFormat WaveFormat::fromBytes(const uint8_t* bytes, uint32_t size) {
    uint8_t record[kRecordSize] = {};
    std::memcpy(record, bytes, std::min<uint32_t>(size, kRecordSize));
    WaveFormat format;
    format.formatTag = loadU16LE(record);
    format.channels = loadU16LE(record + 2);
    format.samplesPerSec = loadU32LE(record + 4);
    format.avgBytesPerSec = loadU32LE(record + 8);
    format.blockAlign = loadU16LE(record + 12);
    format.bitsPerSample = loadU16LE(record + 14);
    format.extraSize = loadU16LE(record + 16);
    return format;
}

void WaveFormat::toBytes(uint8_t out[kRecordSize]) const {
    storeU16LE(out, formatTag);
    storeU16LE(out + 2, channels);
    storeU32LE(out + 4, samplesPerSec);
    storeU32LE(out + 8, avgBytesPerSec);
    storeU16LE(out + 12, blockAlign);
    storeU16LE(out + 14, bitsPerSample);
    storeU16LE(out + 16, extraSize);
}

}  // namespace murmelix
