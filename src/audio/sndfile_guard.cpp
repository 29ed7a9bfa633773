#include "audio/sndfile_guard.h"

#include <cstdint>
#include <cstring>

#include "base/text_format.h"

namespace murmelix {

namespace {

uint32_t littleEndian(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

std::string tooLong(const char* what, uint64_t at, uint64_t length, uint64_t room) {
    return formatText(
        "its %s at byte %llu claims %llu bytes, but only %llu follow (the file is "
        "damaged)",
        what, static_cast<unsigned long long>(at), static_cast<unsigned long long>(length),
        static_cast<unsigned long long>(room));
}

// The chunks inside a LIST chunk that lies within the file, from `at` to `end`.
std::string listRefusal(ByteSource& source, uint64_t at, uint64_t end) {
    for (at += 12; at + 8 <= end;) {
        uint8_t chunk[8];
        if (!source.read(at, chunk, sizeof chunk)) {
            return {};
        }
        const uint64_t length = littleEndian(chunk + 4);
        if (at + 8 + length > end) {
            return tooLong("list entry", at, length, end - at - 8);
        }
        at += 8 + length + (length & 1);
    }
    return {};
}

}  // namespace

std::string SndfileGuard::refusal(ByteSource& source) {
    uint8_t head[12];
    const uint64_t size = source.size();
    if (!source.read(0, head, sizeof head) || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "WAVE", 4) != 0) {
        return {};
    }
    for (uint64_t at = 12; at + 8 <= size;) {
        uint8_t chunk[8];
        if (!source.read(at, chunk, sizeof chunk)) {
            return {};
        }
        const uint64_t length = littleEndian(chunk + 4);
        const uint64_t end = at + 8 + length;
        const bool list = std::memcmp(chunk, "LIST", 4) == 0;
        if (end > size) {
            // A chunk cut short by the end of the file is read as far as it goes; a LIST is not.
            return list ? tooLong("LIST chunk", at, length, size - at - 8) : std::string();
        }
        if (list) {
            if (std::string why = listRefusal(source, at, end); !why.empty()) {
                return why;
            }
        }
        at = end + (length & 1);
    }
    return {};
}

}  // namespace murmelix
