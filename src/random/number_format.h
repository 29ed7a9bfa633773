#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace murmelix {

// The one way this program writes and reads floating values in text: the random-number
// log, the fractal dialog's fields and the settings file all go through here, so a value
// written by one can be read by another. The decimal separator is always ".", whatever
// the user's locale says.
class NumberFormat {
  public:
    // Longest text format() can produce: "-1.23456789012345E-4951".
    static constexpr size_t kMaxLength = 32;

    // Rounded to 15 significant digits; fixed-point for magnitudes from 0.0001 while the
    // integer part has at most 15 digits, otherwise "d.dddE-x". Trailing zeros and a
    // trailing point are dropped. Infinities and NaN come out as "INF", "-INF", "NAN".
    static std::string format(long double value);
    // Same text into out (at least kMaxLength bytes, not terminated); returns its length.
    static size_t formatTo(long double value, char* out);

    // A decimal number with optional sign, point and exponent, surrounded by optional
    // blanks. Anything else (comma, hex, "inf", overflow, trailing junk) is not a number.
    static std::optional<long double> parse(std::string_view text);
};

}  // namespace murmelix
