#pragma once

#include <QColor>
#include <QFont>

#include "app/program_settings.h"

namespace murmelix {

// Fonts and colours as the settings file keeps them. Colours are stored the classic way,
// red in the low byte (0x00BBGGRR), so files written by earlier versions keep their colour.
class FormFontSettings {
  public:
    static QFont toFont(const FontSettings& settings);
    // The character set is not a property of Qt fonts; the stored one is kept.
    static FontSettings fromFont(const QFont& font, int charset);
    static QColor toColor(int stored);
    static int fromColor(const QColor& color);
};

}  // namespace murmelix
