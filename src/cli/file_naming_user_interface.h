#pragma once

#include <string>

#include "base/user_interface.h"

namespace murmelix::cli {

// Passes everything on to another user interface, putting "'FILE': " before a message that
// does not name the file already. Commands that read several files wrap the reader's
// messages in it, so that a message such as "MMIO Error 265" tells which input it is
// about.
class FileNamingUserInterface : public UserInterface {
  public:
    FileNamingUserInterface(UserInterface& inner, std::string file)
        : inner_(inner), file_(std::move(file)) {}

    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override {
        const bool named = text.find(file_) != std::string::npos;
        return inner_.messageBox(caption, named ? text : "'" + file_ + "': " + text, icon, buttons);
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override {
        return inner_.openFileDialog(request);
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override {
        return inner_.saveFileDialog(request);
    }
    std::string caption() const override { return inner_.caption(); }
    void setCaption(const std::string& text) override { inner_.setCaption(text); }

  private:
    UserInterface& inner_;
    std::string file_;
};

}  // namespace murmelix::cli
