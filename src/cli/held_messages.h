#pragma once

#include <string>
#include <vector>

#include "base/user_interface.h"

namespace murmelix::cli {

// A user interface that keeps the messages it is given instead of showing them, so that a
// command can decide afterwards whether they or a better explanation should be shown.
// Questions get the answer that changes nothing, as on the console.
class HeldMessages : public UserInterface {
  public:
    struct Message {
        std::string caption;
        std::string text;
        MessageIcon icon;
    };

    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override {
        held_.push_back({caption, text, icon});
        return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Cancel;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { caption_ = text; }

    void showOn(UserInterface& ui) const {
        for (const Message& m : held_) {
            ui.messageBox(m.caption, m.text, m.icon, MessageButtons::Ok);
        }
    }

  private:
    std::vector<Message> held_;
    std::string caption_;
};

}  // namespace murmelix::cli
