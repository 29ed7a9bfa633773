#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

#include "app/program_settings.h"

class QWidget;

namespace murmelix {

// Fonts and colours as the settings file keeps them. Colours are stored the classic way,
// red in the low byte (0x00BBGGRR), so files written by earlier versions keep their colour.
class FormFontSettings {
  public:
    // The font dialog for a stored font; nothing when cancelled. A family this system lacks
    // cannot be chosen in the dialog, so it opens on the installed family that draws the
    // stored font in its place, at the stored size and style; OK without a change gives
    // `stored` back as it was, so such a font survives a look at the dialog.
    static std::optional<QFont> choose(QWidget* parent, const QFont& stored,
                                       const QString& title = {});
    static QFont toFont(const FontSettings& settings);
    // The character set is not a property of Qt fonts; the stored one is kept.
    static FontSettings fromFont(const QFont& font, int charset);
    static QColor toColor(int stored);
    static int fromColor(const QColor& color);
};

}  // namespace murmelix
