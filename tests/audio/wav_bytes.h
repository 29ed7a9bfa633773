#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/byte_order.h"

// Builders for RIFF files in tests: every byte a test depends on is stated in the test.
namespace murmelix::testing::wav {

inline std::string u16(uint16_t v) {
    std::string out;
    appendU16LE(out, v);
    return out;
}

inline std::string u32(uint32_t v) {
    std::string out;
    appendU32LE(out, v);
    return out;
}

// A chunk with the payload's true size, padded after an odd payload.
inline std::string chunk(const std::string& id, const std::string& payload) {
    std::string out = id + u32(static_cast<uint32_t>(payload.size())) + payload;
    if (payload.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out;
}

// A chunk whose size field says whatever the test wants, with no padding added.
inline std::string rawChunk(const std::string& id, uint32_t declaredSize,
                            const std::string& payload) {
    return id + u32(declaredSize) + payload;
}

inline std::string riff(const std::string& body, const std::string& form = "WAVE") {
    return rawChunk("RIFF", static_cast<uint32_t>(4 + body.size()), form + body);
}

inline std::string list(const std::string& type, const std::string& body) {
    return chunk("LIST", type + body);
}

// The 16 bytes of a PCM format record; block align and byte rate follow from the rest.
inline std::string formatRecord(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
    const uint16_t align = static_cast<uint16_t>(channels * (bits / 8));
    return u16(tag) + u16(channels) + u32(rate) + u32(rate * align) + u16(align) + u16(bits);
}

inline std::string fmt(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
    return chunk("fmt ", formatRecord(channels, rate, bits, tag));
}

struct Cue {
    uint32_t identifier;
    uint32_t sampleOffset;
};

// The position field gets a different value than the sample offset, so that a reader
// taking the wrong field is caught.
inline std::string cue(const std::vector<Cue>& cues) {
    std::string payload = u32(static_cast<uint32_t>(cues.size()));
    for (const Cue& c : cues) {
        payload += u32(c.identifier) + u32(c.sampleOffset + 7777) + "data" + u32(0) + u32(0) +
                   u32(c.sampleOffset);
    }
    return chunk("cue ", payload);
}

inline std::string ltxt(uint32_t identifier, uint32_t length) {
    return chunk("ltxt", u32(identifier) + u32(length) + "rgn " + std::string(8, '\0'));
}

// labl or note with its terminating zero byte.
inline std::string text(const std::string& id, uint32_t identifier, const std::string& value) {
    return chunk(id, u32(identifier) + value + std::string(1, '\0'));
}

inline std::string samples(size_t count, uint8_t first = 1) {
    std::string out(count, '\0');
    for (size_t i = 0; i < count; ++i) {
        out[i] = static_cast<char>(first + i * 37);
    }
    return out;
}

inline std::span<const uint8_t> span(const std::string& bytes) {
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

}  // namespace murmelix::testing::wav
