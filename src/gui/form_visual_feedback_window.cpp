#include "gui/form_visual_feedback_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainterPath>
#include <QRawFont>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <vector>

#include "gui/form_font_settings.h"
#include "gui/form_text.h"

namespace murmelix {

namespace {

// Installed fonts that may hold the pictures of the symbol fonts, best first. Symbola
// (Debian package fonts-symbola) has every one of them.
constexpr std::array<const char*, 5> kStandInFamilies = {
    "Symbola", "Noto Sans Symbols2", "Noto Sans Symbols", "Segoe UI Symbol", "DejaVu Sans"};

// Where an installed symbol font keeps its pictures: at the private-use code U+F000 + code
// (how Windows symbol fonts are encoded), or at the code itself.
constexpr char32_t kSymbolFontBase = 0xF000;

constexpr const char* kWingdingsFamily = "Wingdings";

// The size at which outlines are compared; large enough that different pictures differ.
constexpr int kOutlinePixels = 64;

QString fromCodePoint(char32_t character) {
    return QString::fromUcs4(&character, 1);
}

QLabel* panelLabel(QWidget* panel, const char* name) {
    auto* label = new QLabel(panel);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    // The labels fill the panel whatever its size; a 300-point caption must not hold the
    // window at the size of the character.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return label;
}

}  // namespace

TFormVisualFeedbackWindow::TFormVisualFeedbackWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName("FormVisualFeedbackWindow");
    setWindowTitle("Visual Feedback Window");
    buildMenu();
    buildPanel();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setMenuBar(menu_);
    column->addWidget(panel_);

    color_ = palette().color(QPalette::WindowText);
    setClientSize(QSize(kDefaultClientWidth, kDefaultClientHeight));
}

void TFormVisualFeedbackWindow::buildMenu() {
    menu_ = new QMenuBar(this);
    menu_->setObjectName("Menu");
    QMenu* settings = menu_->addMenu("&Settings");
    settings->setObjectName("Settings1");
    QAction* font = settings->addAction("&Font...");
    font->setObjectName("Font1");
    connect(font, &QAction::triggered, this, &TFormVisualFeedbackWindow::Font1Click);
    QAction* separator = settings->addSeparator();
    separator->setObjectName("N1");
    QAction* close = settings->addAction("&Close");
    close->setObjectName("Close1");
    connect(close, &QAction::triggered, this, &TFormVisualFeedbackWindow::Close1Click);
}

void TFormVisualFeedbackWindow::buildPanel() {
    panel_ = new QFrame(this);
    panel_->setObjectName("Panel");
    panel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel_->setLineWidth(1);
    panel_->setAutoFillBackground(true);
    QPalette white = panel_->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel_->setPalette(white);

    labelFeedbackString_ = panelLabel(panel_, "LabelFeedbackString");
    labelFeedbackString_->setAlignment(Qt::AlignCenter);

    labelNote1_ = panelLabel(panel_, "LabelNote1");
    labelNote1_->setAlignment(Qt::AlignBottom | Qt::AlignLeft);
    labelNote1_->setWordWrap(true);
    QFont small = labelNote1_->font();
    small.setPointSize(8);
    labelNote1_->setFont(small);
    QPalette red = labelNote1_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    labelNote1_->setPalette(red);

    // Both labels fill the panel, one over the other.
    auto* grid = new QGridLayout(panel_);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->addWidget(labelFeedbackString_, 0, 0);
    grid->addWidget(labelNote1_, 0, 0);
}

void TFormVisualFeedbackWindow::setSymbolFont(const FontSettings& font) {
    symbolFont_ = font;
    fontsPrepared_ = false;
    if (isVisible()) {
        prepareFonts();
    }
}

// Working out how 223 characters are drawn takes a while: it waits until the window is
// shown, so that a hidden window does not hold up the program's start.
void TFormVisualFeedbackWindow::showEvent(QShowEvent* event) {
    if (!fontsPrepared_) {
        prepareFonts();
    }
    QWidget::showEvent(event);
}

void TFormVisualFeedbackWindow::prepareFonts() {
    const QString family = FormText::fromBytes(symbolFont_.name);
    ownFont_ = FormFontSettings::toFont(symbolFont_);
    ownFontInstalled_ = QFontDatabase::hasFamily(family);
    symbol_ = SymbolFontMap::isSymbolFont(symbolFont_.name);
    pictures_ = SymbolFontMap::pictures(symbolFont_.name);
    standInFont_ = ownFont_;
    standInFont_.setFamily(pickStandInFamily());
    const QRawFont ownRaw = QRawFont::fromFont(ownFont_);
    for (int code = SymbolFontMap::kFirstCode; code <= SymbolFontMap::kLastCode; ++code) {
        glyphs_[static_cast<size_t>(code - SymbolFontMap::kFirstCode)] = glyphFor(code, ownRaw);
    }
    replaceLookAlikes();
    fontsPrepared_ = true;
    showCharacter(code_, color_);
}

// Different characters can still be drawn alike: a font may lack some of them, or draw two
// of them the same (the bracket extension pieces of Symbol are all bare strokes). Such a
// character shows a Wingdings picture instead, so no two codes look the same.
void TFormVisualFeedbackWindow::replaceLookAlikes() {
    QRawFont own = QRawFont::fromFont(ownFont_);
    QRawFont standIn = QRawFont::fromFont(standInFont_);
    own.setPixelSize(kOutlinePixels);
    standIn.setPixelSize(kOutlinePixels);
    const auto outline = [&](const Glyph& glyph) {
        const QRawFont& raw = glyph.font == &ownFont_ ? own : standIn;
        const QList<quint32> indexes = raw.glyphIndexesForString(glyph.text);
        if (indexes.size() != 1 || indexes[0] == 0) {
            return QPainterPath();
        }
        return raw.pathForGlyph(indexes[0]);
    };
    const auto taken = [](const std::vector<QPainterPath>& outlines, size_t count,
                          const QPainterPath& path) {
        return std::find(outlines.begin(), outlines.begin() + static_cast<ptrdiff_t>(count),
                         path) != outlines.begin() + static_cast<ptrdiff_t>(count);
    };
    // As with the code points: the font's own drawings first, then the stand-ins, each the
    // first Wingdings picture from its code on whose drawing is not there yet.
    std::vector<QPainterPath> outlines(glyphs_.size());
    std::vector<size_t> alike;
    for (size_t i = 0; i < glyphs_.size(); ++i) {
        outlines[i] = outline(glyphs_[i]);
        if (outlines[i].isEmpty() || taken(outlines, i, outlines[i])) {
            outlines[i] = QPainterPath();
            alike.push_back(i);
        }
    }
    for (const size_t i : alike) {
        for (size_t step = 0; step < glyphs_.size(); ++step) {
            const int code =
                static_cast<int>((i + step) % glyphs_.size()) + SymbolFontMap::kFirstCode;
            const Glyph candidate{fromCodePoint(SymbolFontMap::picture(kWingdingsFamily, code)),
                                  &standInFont_};
            const QPainterPath path = outline(candidate);
            if (!path.isEmpty() && !taken(outlines, outlines.size(), path)) {
                glyphs_[i] = candidate;
                outlines[i] = path;
                break;
            }
        }
    }
}

QString TFormVisualFeedbackWindow::pickStandInFamily() const {
    QString best = QFont().family();
    int bestCount = -1;
    for (const char* candidate : kStandInFamilies) {
        if (!QFontDatabase::hasFamily(candidate)) {
            continue;
        }
        const QRawFont raw = QRawFont::fromFont(QFont(candidate));
        int count = 0;
        for (const char32_t picture : pictures_) {
            count += raw.supportsCharacter(static_cast<uint>(picture)) ? 1 : 0;
        }
        if (count == static_cast<int>(pictures_.size())) {
            return candidate;
        }
        if (count > bestCount) {
            best = candidate;
            bestCount = count;
        }
    }
    return best;
}

// How the chosen font draws `code`, before look-alikes are sorted out.
TFormVisualFeedbackWindow::Glyph TFormVisualFeedbackWindow::glyphFor(int code,
                                                                     const QRawFont& raw) const {
    if (symbol_ && ownFontInstalled_) {
        const char32_t own = static_cast<char32_t>(code);
        for (const char32_t at : {char32_t{kSymbolFontBase + own}, own}) {
            if (raw.supportsCharacter(static_cast<uint>(at))) {
                return {fromCodePoint(at), &ownFont_};
            }
        }
    }
    const char32_t picture = pictures_[static_cast<size_t>(code - SymbolFontMap::kFirstCode)];
    const bool own = !symbol_ && SymbolFontMap::fontCharacter(symbolFont_.name, code) == picture;
    return {fromCodePoint(picture), own ? &ownFont_ : &standInFont_};
}

void TFormVisualFeedbackWindow::showCharacter(int code, const QColor& color) {
    code_ = code;
    color_ = color;
    const Glyph& glyph = glyphs_[static_cast<size_t>(code - SymbolFontMap::kFirstCode)];
    labelFeedbackString_->setFont(*glyph.font);
    labelFeedbackString_->setText(glyph.text);
    QPalette palette = labelFeedbackString_->palette();
    palette.setColor(QPalette::WindowText, color);
    labelFeedbackString_->setPalette(palette);
}

QString TFormVisualFeedbackWindow::drawingFamily() const {
    return labelFeedbackString_->font().family();
}

void TFormVisualFeedbackWindow::ShowSegmentNumber(int32_t n,
                                                  const FeedbackSymbol::Context& context) {
    if (!isVisible() || n < 0) {
        return;
    }
    labelNote1_->setText(QString::fromStdString(FeedbackSymbol::notes(context)));
    const FeedbackSymbol::Rgb rgb = FeedbackSymbol::toRgb(FeedbackSymbol::colorRef(n));
    showCharacter(FeedbackSymbol::characterCode(n), QColor(rgb.red, rgb.green, rgb.blue));
}

int TFormVisualFeedbackWindow::menuHeight(int width) const {
    const int height = menu_->heightForWidth(width);
    return height > 0 ? height : menu_->sizeHint().height();
}

QSize TFormVisualFeedbackWindow::clientSize() const {
    return QSize(width(), height() - menuHeight(width()));
}

void TFormVisualFeedbackWindow::setClientSize(QSize size) {
    resize(size.width(), size.height() + menuHeight(size.width()));
}

std::optional<QFont> TFormVisualFeedbackWindow::chooseFont(const QFont& current) {
    return FormFontSettings::choose(this, current, "Font");
}

void TFormVisualFeedbackWindow::Font1Click() {
    if (const std::optional<QFont> font = chooseFont(FormFontSettings::toFont(symbolFont_))) {
        setSymbolFont(FormFontSettings::fromFont(*font, symbolFont_.charset));
    }
}

void TFormVisualFeedbackWindow::Close1Click() {
    close();
}

void TFormVisualFeedbackWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (onClosed) {
        onClosed();
    }
}

}  // namespace murmelix
