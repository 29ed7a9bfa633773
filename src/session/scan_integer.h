#pragma once

#include <cstdint>
#include <string_view>

namespace murmelix {

// Reads one decimal integer from the front of `text` the way scanf's "%d" does: leading
// white space skipped, an optional sign, at least one digit. On success `text` is left just
// after the last digit. Unlike scanf, a value outside the 32-bit range is a failure rather
// than undefined, so a damaged file can never produce a wrapped-around position.
bool scanInteger(std::string_view& text, int32_t& value);

// Reads `count` integers in a row, as "%d %d ..." would; false when any of them is missing.
bool scanIntegers(std::string_view& text, int32_t* values, int count);

}  // namespace murmelix
