#pragma once

#include <string>

#include "base/console_user_interface.h"

namespace murmelix::cli {

// The tool's face: messages as the window shows them, and after the program's bare code
// "MMIO Error 265" what it means in plain words, since nobody at a terminal can look a
// platform's error number up.
class ExplainingUserInterface : public ConsoleUserInterface {
  public:
    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override;

    // The text with the meaning of an error code at its end put after it; other texts as
    // they are.
    static std::string explained(const std::string& text);
};

}  // namespace murmelix::cli
