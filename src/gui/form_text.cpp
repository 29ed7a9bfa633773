#include "gui/form_text.h"

#include "base/utf8_text.h"

namespace murmelix {

QString FormText::fromBytes(const std::string& bytes) {
    return QString::fromStdString(Utf8Text::fromBytes(bytes));
}

}  // namespace murmelix
