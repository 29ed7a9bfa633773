#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace murmelix {

// How the settings file's values are spelled, read the way the private profile functions
// of the old desktop platform read them, so a file edited by hand means what it always
// meant there.
class IniValue {
  public:
    // A profile string is returned in a buffer of 2048 bytes, terminator included.
    static constexpr size_t kMaxStringLength = 2047;

    // Blanks, tabs and stray carriage returns around a name or value do not count.
    static std::string_view trim(std::string_view text);
    // Names are compared without regard to (ASCII) case.
    static bool sameName(std::string_view a, std::string_view b);

    // Decimal with an optional sign; text longer than two characters that starts with "0x"
    // or "0X" is hexadecimal (up to 32 bits, so 0xFFFFFFFF is -1). Anything else, or a
    // number that does not fit 32 bits, is unreadable.
    static std::optional<int32_t> parseInteger(std::string_view text);
    // The general number format with "."; unreadable when it does not fit a double.
    static std::optional<double> parseFloat(std::string_view text);
    static std::string formatFloat(double value);

    // At most kMaxStringLength bytes; a UTF-8 character cut by that limit is dropped whole.
    static std::string limitString(std::string_view text);
};

}  // namespace murmelix
