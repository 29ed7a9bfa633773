#pragma once

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
    // Whether every byte is part of a valid UTF-8 sequence.
    static bool isValid(std::string_view text);
};

}  // namespace murmelix
