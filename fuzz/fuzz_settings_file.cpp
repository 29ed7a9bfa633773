// Feeds arbitrary bytes to the settings file as its text. Besides memory errors it checks that
// the text written back reads the same, and that storing settles the settings: what loads
// from the input, stored into it, loads back unchanged, except that fractions are kept to
// 15 significant digits, and storing what loaded back changes the file no further.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "app/ini_value.h"
#include "app/settings_file.h"

namespace {

// The value a fraction has once it went through the file; NaN, which equals nothing, when
// its stored form cannot be read back.
double throughFile(double value) {
    using murmelix::IniValue;
    return IniValue::parseFloat(IniValue::formatFloat(value))
        .value_or(std::numeric_limits<double>::quiet_NaN());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using murmelix::IniFile;
    using murmelix::SettingsFile;
    IniFile ini(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = ini.text();
    if (IniFile(text).text() != text) {
        std::abort();
    }
    auto expected = SettingsFile::load(ini);
    SettingsFile::store(expected, ini);
    const std::string stored = ini.text();
    const auto settings = SettingsFile::load(IniFile(stored));
    expected.fractalGrowthConstant = throughFile(expected.fractalGrowthConstant);
    expected.fractalInitPopulation = throughFile(expected.fractalInitPopulation);
    if (settings != expected) {
        std::abort();
    }
    SettingsFile::store(settings, ini);
    if (ini.text() != stored) {
        std::abort();
    }
    return 0;
}
