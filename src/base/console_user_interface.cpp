#include "base/console_user_interface.h"

namespace murmelix {

MessageResult ConsoleUserInterface::messageBox(const std::string& caption, const std::string& text,
                                               MessageIcon icon, MessageButtons buttons) {
    (void)caption;
    if (out_ != nullptr) {
        std::fprintf(out_, "%s\n", text.c_str());
        std::fflush(out_);
    }
    if (icon == MessageIcon::Error) {
        ++errors_;
    }
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageResult::Ok;
        case MessageButtons::YesNo:
            return MessageResult::No;
        default:
            return MessageResult::Cancel;
    }
}

}  // namespace murmelix
