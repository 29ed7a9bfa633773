#pragma once

#include <string>
#include <vector>

#include "base/user_interface.h"

namespace murmelix {

// Stands between a reader and the person: the reader's messages (which only inform, so each
// is answered with OK) wait here until the caller knows whether they are worth showing. A WAV file
// the reader refuses but the import can read is then offered for import in one question, instead of
// an error that tells the person to choose another file followed by an offer to open this
// one. Everything else goes straight to the person. UI thread only.
class HeldMessages : public UserInterface {
  public:
    explicit HeldMessages(UserInterface& person) : person_(person) {}

    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override {
        return person_.openFileDialog(request);
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override {
        return person_.saveFileDialog(request);
    }
    std::string caption() const override { return person_.caption(); }
    void setCaption(const std::string& text) override { person_.setCaption(text); }
    void processEvents() override { person_.processEvents(); }

    // Shows what was held, in order, and forgets it.
    void release();
    // Forgets what was held: another message says it better.
    void drop() { held_.clear(); }

  private:
    struct Held {
        std::string caption;
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
    };
    UserInterface& person_;
    std::vector<Held> held_;
};

}  // namespace murmelix
