#include "gui/font_look_up.h"

#include <QFontMetrics>

namespace murmelix {

FontLookUp::FontLookUp(QList<QFont> fonts)
    : reader_([fonts = std::move(fonts)] {
          for (const QFont& font : fonts) {
              static_cast<void>(QFontMetrics(font).height());
          }
      }) {}

FontLookUp::~FontLookUp() {
    reader_.join();
}

}  // namespace murmelix
