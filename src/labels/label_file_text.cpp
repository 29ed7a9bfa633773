#include "labels/label_file_text.h"

#include <cstdint>

#include "base/utf8_text.h"

namespace murmelix {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

void append(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

constexpr size_t kMessagePieceLength = 40;

}  // namespace

std::string LabelFileText::decode(std::string_view bytes) {
    if (startsWith(bytes, "\xFE\xFF")) {
        return fromUtf16(bytes.substr(2), true);
    }
    if (startsWith(bytes, "\xFF\xFE")) {
        return fromUtf16(bytes.substr(2), false);
    }
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return Utf8Text::fromBytes(std::string(bytes));
}

std::string LabelFileText::fromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](size_t i) {
        const auto first = static_cast<uint8_t>(bytes[i]);
        const auto second = static_cast<uint8_t>(bytes[i + 1]);
        return static_cast<uint32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                append(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        append(out, u >= 0xD800 && u < 0xE000 ? kReplacement : u);
    }
    if (i < bytes.size()) {
        append(out, kReplacement);
    }
    return out;
}

std::string LabelFileText::forMessage(std::string_view text) {
    const bool cut = text.size() > kMessagePieceLength;
    std::string out = Utf8Text::fromBytes(std::string(text.substr(0, kMessagePieceLength)));
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        c = byte < 0x20 || byte == 0x7F ? '?' : c;
    }
    return cut ? out + "..." : out;
}

}  // namespace murmelix
