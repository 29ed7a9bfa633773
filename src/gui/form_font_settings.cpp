#include "gui/form_font_settings.h"

#include <QFontDialog>
#include <QFontInfo>
#include <algorithm>
#include <cmath>

#include "gui/form_text.h"

namespace murmelix {

QFont FormFontSettings::toFont(const FontSettings& settings) {
    QFont font(FormText::fromBytes(settings.name));
    // A size Qt cannot use (0 or below) would leave the font at an unusable size.
    font.setPointSize(std::clamp(settings.size, 1, 1000));
    font.setBold(settings.bold);
    font.setItalic(settings.italic);
    font.setUnderline(settings.underline);
    font.setStrikeOut(settings.strikeOut);
    return font;
}

std::optional<QFont> FormFontSettings::choose(QWidget* parent, const QFont& stored,
                                              const QString& title) {
    QFont shown = stored;
    shown.setFamily(QFontInfo(stored).family());
    QFontDialog dialog(shown, parent);
    if (!title.isEmpty()) {
        dialog.setWindowTitle(title);
    }
    // What the dialog makes of the preset: its lists round sizes and pick styles their way.
    const QFont offered = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QFont chosen = dialog.selectedFont();
    return chosen == offered ? stored : chosen;
}

FontSettings FormFontSettings::fromFont(const QFont& font, int charset) {
    FontSettings settings;
    settings.name = font.family().toStdString();
    settings.bold = font.bold();
    settings.italic = font.italic();
    settings.underline = font.underline();
    settings.strikeOut = font.strikeOut();
    settings.size =
        font.pointSize() > 0 ? font.pointSize() : static_cast<int>(std::lround(font.pointSizeF()));
    settings.charset = charset;
    return settings;
}

QColor FormFontSettings::toColor(int stored) {
    const auto value = static_cast<unsigned>(stored);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int FormFontSettings::fromColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

}  // namespace murmelix
