#include "audio/cue_text.h"

#include <cstdint>

namespace murmelix {

std::string CueText::limit(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() <= kMaxLength) {
        return std::string(text);
    }
    size_t cut = kMaxLength;
    if (isValidUtf8(text)) {
        while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    return std::string(text.substr(0, cut));
}

bool CueText::isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        size_t length = 0;
        uint32_t value = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i < length) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            value = (value << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace murmelix
