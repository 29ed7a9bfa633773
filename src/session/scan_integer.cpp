#include "session/scan_integer.h"

namespace murmelix {

namespace {

bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

bool scanInteger(std::string_view& text, int32_t& value) {
    size_t at = 0;
    while (at < text.size() && isScanSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const size_t digitsStart = at;
    // One past INT32_MAX is let through so that INT32_MIN can be read.
    int64_t magnitude = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) {
            return false;
        }
        ++at;
    }
    if (at == digitsStart) {
        return false;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX) {
        return false;
    }
    value = static_cast<int32_t>(signedValue);
    text.remove_prefix(at);
    return true;
}

bool scanIntegers(std::string_view& text, int32_t* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!scanInteger(text, values[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace murmelix
