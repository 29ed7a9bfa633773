// Feeds arbitrary text to the number parser. Whatever it accepts must format within the
// fixed buffer, and formatted text must read back to a value that formats the same way:
// the settings file and the fractal fields depend on that round trip.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "random/number_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using murmelix::NumberFormat;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = NumberFormat::parse(text);
    if (!value) {
        return 0;
    }
    if (!std::isfinite(*value)) {
        std::abort();  // overflow must be refused, not turned into INF
    }
    const std::string formatted = NumberFormat::format(*value);
    if (formatted.size() > NumberFormat::kMaxLength) {
        std::abort();
    }
    const auto again = NumberFormat::parse(formatted);
    if (!again || NumberFormat::format(*again) != formatted) {
        std::abort();
    }
    return 0;
}
