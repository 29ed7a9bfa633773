#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace murmelix {

// Texts from files are byte strings: what newer versions write is UTF-8, what older ones
// wrote is Windows-1252. Shown or written out, they become UTF-8 by the same rule everywhere.
class Utf8Text {
  public:
    // Valid UTF-8 stays as it is; every byte that is not part of a valid sequence is read as
    // a Windows-1252 character (U+FFFD for the five bytes that code page leaves undefined).
    static std::string fromBytes(const std::string& bytes);
    // The character a Windows-1252 byte stands for; 0 for the five bytes the code page
    // leaves undefined.
    static char32_t windows1252Character(uint8_t byte);
    // Whether every byte is part of a valid UTF-8 sequence.
    static bool isValid(std::string_view text);
};

}  // namespace murmelix
