#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace murmelix::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class IniTestFolder {
  public:
    IniTestFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "murmelix-ini-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~IniTestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    IniTestFolder(const IniTestFolder&) = delete;
    IniTestFolder& operator=(const IniTestFolder&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace murmelix::testing
