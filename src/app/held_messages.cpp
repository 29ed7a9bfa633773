#include "app/held_messages.h"

namespace murmelix {

MessageResult HeldMessages::messageBox(const std::string& caption, const std::string& text,
                                       MessageIcon icon, MessageButtons buttons) {
    held_.push_back({caption, text, icon, buttons});
    return MessageResult::Ok;
}

void HeldMessages::release() {
    std::vector<Held> shown;
    shown.swap(held_);
    for (const Held& message : shown) {
        person_.messageBox(message.caption, message.text, message.icon, message.buttons);
    }
}

}  // namespace murmelix
