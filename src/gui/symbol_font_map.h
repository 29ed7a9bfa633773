#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace murmelix {

// What each character code 33 to 255 of a font looks like, as a Unicode code point.
//
// Symbol fonts ("Wingdings", "Wingdings 2", "Wingdings 3", "Webdings", "Symbol") put pictures
// where other fonts have letters, and most systems other than Windows lack them. Since
// Unicode 7.0 every Wingdings and Webdings picture has a code point of its own, so a font
// that has those code points can draw the same pictures. Any other font shows the byte as a
// character of the ANSI code page (Windows-1252).
class SymbolFontMap {
  public:
    static constexpr int kFirstCode = 33;
    static constexpr int kLastCode = 255;
    static constexpr int kCodeCount = kLastCode - kFirstCode + 1;

    using Pictures = std::array<char32_t, kCodeCount>;

    // True for the symbol fonts above; the name is compared without regard to case.
    static bool isSymbolFont(std::string_view family);

    // The character the font itself has at `code`: for a symbol font the Unicode counterpart
    // of its picture, for any other font the Windows-1252 character. Empty where the font has
    // nothing there (the unassigned Windows-1252 bytes, the unused codes of the symbol fonts)
    // and for codes outside 33 to 255.
    static std::optional<char32_t> fontCharacter(std::string_view family, int code);

    // What each code of the font is shown as: its own character where that is visible and not
    // already shown for a lower code; otherwise a Wingdings picture stands in, the one of the
    // same code or, where that is shown already, of the next code whose picture is free. So
    // the 223 codes always give 223 different, visible pictures.
    static Pictures pictures(std::string_view family);
    static char32_t picture(std::string_view family, int code);

    // The Windows-1252 character of a byte; empty for the five unassigned bytes.
    static std::optional<char32_t> ansiCharacter(int code);
};

}  // namespace murmelix
