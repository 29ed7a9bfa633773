#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/program_settings.h"
#include "gui/feedback_symbol.h"
#include "gui/symbol_font_map.h"

class QFrame;
class QLabel;
class QMenuBar;
class QRawFont;

namespace murmelix {

// The visual feedback window: one very large coloured character for the segment that is
// playing, with small red notes at the bottom when the numbers cannot tell segments apart.
//
// The symbol font of choice is usually a Windows symbol font ("Wingdings"), which other
// systems lack. Then each character is drawn as the Unicode counterpart of its picture in an
// installed font that has those pictures, so the 223 characters still look different.
class TFormVisualFeedbackWindow : public QWidget {
  public:
    static constexpr int kDefaultClientWidth = 550;
    static constexpr int kDefaultClientHeight = 500;

    explicit TFormVisualFeedbackWindow(QWidget* owner);

    // Shows the picture of segment number `n` and the notes for `context`. Does nothing while
    // the window is hidden or for a negative number (-1: no number).
    void ShowSegmentNumber(int32_t n, const FeedbackSymbol::Context& context);

    // The font of the symbol as the settings keep it (the chosen one, not a stand-in).
    FontSettings symbolFont() const { return symbolFont_; }
    void setSymbolFont(const FontSettings& font);

    // The area under the menu that the panel fills.
    QSize clientSize() const;
    void setClientSize(QSize size);

    // Called whenever the window closes: its close box, "Close", or close() from the program.
    std::function<void()> onClosed;

    // The font dialog of "Font..."; nothing when cancelled.
    virtual std::optional<QFont> chooseFont(const QFont& current);

    // What is shown now: the character code (33 to 255), its colour, and the font family it
    // is drawn in.
    int characterCode() const { return code_; }
    QColor symbolColor() const { return color_; }
    QString drawingFamily() const;

    // Handlers.
    void Font1Click();
    void Close1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Glyph {
        QString text;
        const QFont* font = nullptr;
    };

    void buildMenu();
    void buildPanel();
    void prepareFonts();
    QString pickStandInFamily() const;
    // `raw` is the chosen font itself, without the fonts Qt falls back on.
    Glyph glyphFor(int code, const QRawFont& raw) const;
    void replaceLookAlikes();
    void showCharacter(int code, const QColor& color);
    int menuHeight(int width) const;

    FontSettings symbolFont_{"Wingdings", false, false, false, false, 300, 1};
    int code_ = 'A';
    QColor color_;

    // How the chosen font's characters are drawn; worked out when the font changes while
    // the window is shown, or else when it is shown next.
    bool fontsPrepared_ = false;
    QFont ownFont_;
    QFont standInFont_;
    bool ownFontInstalled_ = false;
    bool symbol_ = false;
    SymbolFontMap::Pictures pictures_{};
    std::array<Glyph, SymbolFontMap::kCodeCount> glyphs_{};

    QMenuBar* menu_ = nullptr;
    QFrame* panel_ = nullptr;
    QLabel* labelFeedbackString_ = nullptr;
    QLabel* labelNote1_ = nullptr;
};

}  // namespace murmelix
