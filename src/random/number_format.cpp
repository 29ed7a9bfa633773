#include "random/number_format.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace murmelix {

namespace {

constexpr int kSignificantDigits = 15;

size_t copyText(const char* text, char* out) {
    const size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return length;
}

// The 15 rounded significant digits of a positive finite value, trailing zeros removed,
// and the decimal exponent of the first digit.
struct Digits {
    char text[kSignificantDigits + 1];
    int count = 0;
    int exponent = 0;
};

Digits roundedDigits(long double magnitude) {
    char scientific[64];
    const auto result = std::to_chars(scientific, scientific + sizeof scientific, magnitude,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    // "d.dddddddddddddde+XX"
    Digits digits;
    const char* p = scientific;
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.') {
            digits.text[digits.count++] = *p;
        }
    }
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, digits.exponent);
    while (digits.count > 1 && digits.text[digits.count - 1] == '0') {
        --digits.count;
    }
    return digits;
}

size_t writeFixed(const Digits& digits, char* out) {
    size_t length = 0;
    if (digits.exponent < 0) {
        out[length++] = '0';
        out[length++] = '.';
        for (int i = 1; i < -digits.exponent; ++i) {
            out[length++] = '0';
        }
        std::memcpy(out + length, digits.text, static_cast<size_t>(digits.count));
        return length + static_cast<size_t>(digits.count);
    }
    const int integerDigits = digits.exponent + 1;
    for (int i = 0; i < integerDigits; ++i) {
        out[length++] = i < digits.count ? digits.text[i] : '0';
    }
    if (digits.count > integerDigits) {
        out[length++] = '.';
        for (int i = integerDigits; i < digits.count; ++i) {
            out[length++] = digits.text[i];
        }
    }
    return length;
}

size_t writeExponent(const Digits& digits, char* out) {
    size_t length = 0;
    out[length++] = digits.text[0];
    if (digits.count > 1) {
        out[length++] = '.';
        std::memcpy(out + length, digits.text + 1, static_cast<size_t>(digits.count - 1));
        length += static_cast<size_t>(digits.count - 1);
    }
    out[length++] = 'E';
    if (digits.exponent < 0) {
        out[length++] = '-';
    }
    const auto result =
        std::to_chars(out + length, out + NumberFormat::kMaxLength, std::abs(digits.exponent));
    return static_cast<size_t>(result.ptr - out);
}

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t skipDigits(std::string_view text, size_t at) {
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at;
}

// Whole text is [+-] digits [. digits] [eE [+-] digits], with at least one mantissa digit.
bool isDecimalNumber(std::string_view text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const size_t integerEnd = skipDigits(text, at);
    size_t mantissaDigits = integerEnd - at;
    at = integerEnd;
    if (at < text.size() && text[at] == '.') {
        const size_t fractionEnd = skipDigits(text, at + 1);
        mantissaDigits += fractionEnd - (at + 1);
        at = fractionEnd;
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            ++at;
        }
        const size_t exponentEnd = skipDigits(text, at);
        if (exponentEnd == at) {
            return false;
        }
        at = exponentEnd;
    }
    return at == text.size();
}

// strtold honours LC_NUMERIC, which a desktop toolkit sets from the user's environment;
// the "C" locale keeps "." the separator. Created once and never changed.
locale_t classicLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

}  // namespace

size_t NumberFormat::formatTo(long double value, char* out) {
    if (std::isnan(value)) {
        return copyText("NAN", out);
    }
    if (std::isinf(value)) {
        return copyText(value < 0 ? "-INF" : "INF", out);
    }
    if (value == 0) {
        return copyText("0", out);  // also for -0: a sign on zero means nothing to a reader
    }
    size_t length = 0;
    if (value < 0) {
        out[length++] = '-';
    }
    const Digits digits = roundedDigits(std::fabs(value));
    const bool fixed = digits.exponent >= -4 && digits.exponent < kSignificantDigits;
    return length +
           (fixed ? writeFixed(digits, out + length) : writeExponent(digits, out + length));
}

std::string NumberFormat::format(long double value) {
    char text[kMaxLength];
    return std::string(text, formatTo(value, text));
}

std::optional<long double> NumberFormat::parse(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (!isDecimalNumber(text)) {
        return std::nullopt;
    }
    const std::string terminated(text);
    errno = 0;
    char* end = nullptr;
    const long double value = strtold_l(terminated.c_str(), &end, classicLocale());
    if (end != terminated.c_str() + terminated.size()) {
        return std::nullopt;
    }
    if (errno == ERANGE && std::isinf(value)) {
        return std::nullopt;  // too large for any value the program could use
    }
    return value;  // an underflow gives the nearest tiny value or 0, which is what was meant
}

}  // namespace murmelix
