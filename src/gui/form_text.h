#pragma once

#include <QString>
#include <string>

namespace murmelix {

// Texts the program hands to the windows (cue labels, notes, session texts, messages that
// quote them) are byte strings that older files hold in Windows-1252; every window shows them
// through here, so that such bytes come out as their characters instead of as U+FFFD.
class FormText {
  public:
    static QString fromBytes(const std::string& bytes);
};

}  // namespace murmelix
