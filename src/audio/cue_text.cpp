#include "audio/cue_text.h"

#include <cstdint>

#include "base/utf8_text.h"

namespace murmelix {

std::string CueText::limit(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() <= kMaxLength) {
        return std::string(text);
    }
    size_t cut = kMaxLength;
    if (Utf8Text::isValid(text)) {
        while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    return std::string(text.substr(0, cut));
}

}  // namespace murmelix
