#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace murmelix {

// File formats here are little-endian whatever the host; decode byte by byte.
inline uint16_t loadU16LE(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t loadU32LE(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void storeU16LE(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void storeU32LE(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

inline void appendU16LE(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

inline void appendU32LE(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

// A RIFF four-character code as stored: "fmt " reads as the bytes 'f','m','t',' '.
constexpr uint32_t fourCC(const char (&id)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(id[0])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(id[1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(id[2])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(id[3])) << 24);
}

}  // namespace murmelix
