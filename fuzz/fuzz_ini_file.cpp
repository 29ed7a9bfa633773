// Feeds arbitrary bytes to the settings file reader. Besides memory errors it checks that
// the text written back reads the same, that every setting loads from it, and that storing
// the settings into it leaves a file from which they load unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/ini_file.h"
#include "app/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using murmelix::IniFile;
    using murmelix::SettingsFile;
    const IniFile first(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = first.text();
    if (IniFile(text).text() != text) {
        std::abort();
    }
    const auto settings = SettingsFile::load(first);
    if (SettingsFile::load(IniFile(text)) != settings) {
        std::abort();
    }
    IniFile stored(text);
    SettingsFile::store(settings, stored);
    if (SettingsFile::load(IniFile(stored.text())) != settings) {
        std::abort();
    }
    return 0;
}
