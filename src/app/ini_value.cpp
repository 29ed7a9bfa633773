#include "app/ini_value.h"

#include <cmath>
#include <limits>

#include "random/number_format.h"

namespace murmelix {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = lowerAscii(c);
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return -1;
}

std::optional<int32_t> parseHex(std::string_view digits) {
    uint64_t value = 0;
    for (const char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> parseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

bool isContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length a UTF-8 lead byte announces; 0 for bytes that lead no multi-byte sequence.
size_t announcedLength(unsigned char c) {
    if ((c & 0xE0) == 0xC0) {
        return 2;
    }
    if ((c & 0xF0) == 0xE0) {
        return 3;
    }
    if ((c & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}

}  // namespace

std::string_view IniValue::trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IniValue::sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<int32_t> IniValue::parseInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return parseHex(text.substr(2));
    }
    return parseDecimal(text);
}

std::optional<double> IniValue::parseFloat(std::string_view text) {
    const auto parsed = NumberFormat::parse(text);
    if (!parsed) {
        return std::nullopt;
    }
    const double value = static_cast<double>(*parsed);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string IniValue::formatFloat(double value) {
    return NumberFormat::format(value);
}

std::string IniValue::limitString(std::string_view text) {
    if (text.size() <= kMaxStringLength) {
        return std::string(text);
    }
    size_t cut = kMaxStringLength;
    // Step back over the continuation bytes kept before the cut to the character's lead
    // byte; drop the character only when its sequence really runs past the cut.
    size_t lead = cut;
    while (lead > 0 && cut - lead < 3 &&
           isContinuationByte(static_cast<unsigned char>(text[lead - 1]))) {
        --lead;
    }
    if (lead > 0) {
        const size_t length = announcedLength(static_cast<unsigned char>(text[lead - 1]));
        if (length > cut - (lead - 1)) {
            cut = lead - 1;
        }
    }
    return std::string(text.substr(0, cut));
}

}  // namespace murmelix
