#pragma once

#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string>

namespace murmelix::testing {

// A fresh folder of its own under the system's temporary folder, removed with everything in
// it when the object goes. The name is unique (mkdtemp), so tests running side by side, in one
// process or in several, never share one.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "murmelix-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // How many files and folders the folder holds (a writer must leave no temporaries).
    size_t entries() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

  private:
    std::filesystem::path path_;
};

}  // namespace murmelix::testing
