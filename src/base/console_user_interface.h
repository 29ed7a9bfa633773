#pragma once

#include <cstdio>
#include <string>

#include "base/user_interface.h"

namespace murmelix {

// The face of the program where nobody can answer: messages go to a stream (stderr for the
// command-line tool; none for fuzzers) exactly as the window would show their text, and
// questions get the answer that changes nothing (Cancel, No).
class ConsoleUserInterface : public UserInterface {
  public:
    explicit ConsoleUserInterface(FILE* out = stderr) : out_(out) {}

    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    // The one-line text dialog is answered with the text given here (the tool's options);
    // without one it is cancelled.
    std::optional<std::string> askText(const std::string&, const std::string&) override {
        return textAnswer_;
    }
    void setTextAnswer(std::optional<std::string> answer) { textAnswer_ = std::move(answer); }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { caption_ = text; }

    int errorCount() const { return errors_; }

  private:
    FILE* out_;
    std::string caption_ = "Murmelix";
    std::optional<std::string> textAnswer_;
    int errors_ = 0;
};

}  // namespace murmelix
