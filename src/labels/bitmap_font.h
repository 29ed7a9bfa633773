#pragma once

#include <string>

namespace murmelix {

// A small fixed-width font for pictures drawn without a toolkit. It has the printable
// ASCII characters; every other character (accented letters, other scripts, control
// characters) is drawn as "?" — the window draws the same texts with the system font.
class BitmapFont {
  public:
    static constexpr int kGlyphWidth = 7;    // advance included
    static constexpr int kGlyphHeight = 10;  // descenders included

    static bool pixel(char32_t c, int x, int y);
    // The characters a UTF-8 text is drawn as: ASCII as it is, "?" for each other one.
    static std::u32string shown(const std::string& utf8);
    static int width(const std::string& utf8) {
        return static_cast<int>(shown(utf8).size()) * kGlyphWidth;
    }
};

}  // namespace murmelix
