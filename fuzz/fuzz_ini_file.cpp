// Feeds arbitrary bytes to the INI file reader and writer: the input's first three lines
// name a section, a key and a value, the rest is the file. Besides memory errors it checks
// that the text written reads back as itself, that a write the file accepts reads back as
// the trimmed value and repeating it changes nothing, and that a refused write changes
// nothing. The settings stored in such a file have their own target.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "app/ini_value.h"

namespace {

std::string_view takeLine(std::string_view& rest) {
    const size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using murmelix::IniFile;
    using murmelix::IniValue;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view section = takeLine(rest);
    const std::string_view key = takeLine(rest);
    const std::string_view value = takeLine(rest);
    IniFile ini(rest);
    const std::string text = ini.text();
    const auto before = ini.value(section, key);
    const bool accepted = ini.writeString(section, key, value);
    const std::string written = ini.text();
    const IniFile reread(written);
    if (reread.text() != written || (!accepted && written != text)) {
        std::abort();
    }
    if (!accepted) {
        return 0;
    }
    if (reread.value(section, key) != IniValue::trim(value) ||
        ini.value(section, key) != reread.value(section, key)) {
        std::abort();
    }
    // The value was replaced where it stood, or added as one line with at most a blank line
    // and its section's header before it; a second write of the same value finds it.
    const auto lines = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
    const auto added = lines(written) - lines(text);
    if (added < 0 || added > (before ? 0 : 3) || !ini.writeString(section, key, value) ||
        ini.text() != written) {
        std::abort();
    }
    return 0;
}
