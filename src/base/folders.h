#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "base/path_text.h"

namespace murmelix {

// The folder remembered for each kind of file (with its trailing '/'; empty: none yet) and
// the one rule for where a file dialog starts: in its kind's remembered folder while
// "separate folders" is on, else wherever the dialog itself starts. The folders are
// remembered either way. The program keeps one of these for all its dialogs.
class Folders {
  public:
    enum class Kind { Wav, Export, Session, RandomSource, RandomNumbers, Labels };

    const std::string& remembered(Kind kind) const { return folders_[index(kind)]; }
    void remember(Kind kind, std::string folder) { folders_[index(kind)] = std::move(folder); }
    // A file of that kind was chosen or named: its folder is remembered.
    void rememberFolderOf(Kind kind, const std::string& path) {
        remember(kind, PathText::folderPartOf(path));
    }
    std::string startFolder(Kind kind) const {
        return separate_ ? remembered(kind) : std::string();
    }

    bool separate() const { return separate_; }
    void setSeparate(bool on) { separate_ = on; }

  private:
    static size_t index(Kind kind) { return static_cast<size_t>(kind); }

    std::array<std::string, 6> folders_;
    bool separate_ = true;
};

}  // namespace murmelix
