#include "gui/symbol_font_map.h"

#include "base/utf8_text.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_set>

namespace murmelix {

namespace {

constexpr int kCodeCount = SymbolFontMap::kCodeCount;

// kWingdings, kWingdings2, kWingdings3, kWebdings and kSymbol, made by the build from
// symbol_fonts.txt.
#include "symbol_font_tables.h"

struct SymbolFont {
    const char* family;
    const std::array<char32_t, kCodeCount>* pictures;
};

constexpr std::array<SymbolFont, 5> kSymbolFonts = {{
    {"wingdings", &kWingdings},
    {"wingdings 2", &kWingdings2},
    {"wingdings 3", &kWingdings3},
    {"webdings", &kWebdings},
    {"symbol", &kSymbol},
}};

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

const std::array<char32_t, kCodeCount>* symbolPictures(std::string_view family) {
    const std::string lower = lowerCase(family);
    for (const SymbolFont& font : kSymbolFonts) {
        if (lower == font.family) {
            return font.pictures;
        }
    }
    return nullptr;
}

bool inRange(int code) {
    return code >= SymbolFontMap::kFirstCode && code <= SymbolFontMap::kLastCode;
}

// Characters that draw nothing: the delete control, the C1 controls and the two invisible
// Latin-1 characters (no-break space, soft hyphen).
bool isBlank(char32_t character) {
    return character == 0x7F || (character >= 0x80 && character < 0xA0) || character == 0xA0 ||
           character == 0xAD;
}

}  // namespace

bool SymbolFontMap::isSymbolFont(std::string_view family) {
    return symbolPictures(family) != nullptr;
}

std::optional<char32_t> SymbolFontMap::ansiCharacter(int code) {
    if (code < 0 || code > 0xFF) {
        return std::nullopt;
    }
    if (code < 0x80 || code >= 0xA0) {
        return static_cast<char32_t>(code);
    }
    const char32_t character = Utf8Text::windows1252Character(static_cast<uint8_t>(code));
    if (character == 0) {
        return std::nullopt;
    }
    return character;
}

std::optional<char32_t> SymbolFontMap::fontCharacter(std::string_view family, int code) {
    if (!inRange(code)) {
        return std::nullopt;
    }
    if (const auto* pictures = symbolPictures(family)) {
        const char32_t character = (*pictures)[static_cast<size_t>(code - kFirstCode)];
        if (character == 0) {
            return std::nullopt;
        }
        return character;
    }
    return ansiCharacter(code);
}

SymbolFontMap::Pictures SymbolFontMap::pictures(std::string_view family) {
    Pictures result{};
    std::unordered_set<char32_t> shown;
    // The font's own characters first, so that a stand-in never takes the place of one.
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        const std::optional<char32_t> own = fontCharacter(family, code);
        if (own && !isBlank(*own) && shown.insert(*own).second) {
            result[static_cast<size_t>(code - kFirstCode)] = *own;
        }
    }
    // Each gap takes the first Wingdings picture not shown yet, from its own code on. There are
    // always enough: no more of the 223 Wingdings pictures are taken than codes are filled.
    for (size_t index = 0; index < result.size(); ++index) {
        for (size_t step = 0; result[index] == 0; ++step) {
            const char32_t candidate = kWingdings[(index + step) % kWingdings.size()];
            if (shown.insert(candidate).second) {
                result[index] = candidate;
            }
        }
    }
    return result;
}

char32_t SymbolFontMap::picture(std::string_view family, int code) {
    if (!inRange(code)) {
        return 0;
    }
    return pictures(family)[static_cast<size_t>(code - kFirstCode)];
}

}  // namespace murmelix
