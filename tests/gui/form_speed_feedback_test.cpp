#include <gtest/gtest.h>

#include <QAction>
#include <QCryptographicHash>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gui/form_speed_control_window.h"
#include "gui/form_visual_feedback_window.h"

namespace murmelix {
namespace {

template <typename T>
T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The speed window with every reported percentage recorded.
struct SpeedRig {
    TFormSpeedControlWindow window{nullptr};
    std::vector<int> reported;
    int closed = 0;

    SpeedRig() {
        window.onSpeedChange = [this](int percent) { reported.push_back(percent); };
        window.onClosed = [this] { ++closed; };
    }
    QString label() { return child<QLabel>(window, "LabelPercentage")->text(); }
    QSlider* slider() { return child<QSlider>(window, "TrackBarSpeed"); }
};

TEST(SpeedControlWindowTest, LabelAndCallbackFollowTheSliderPosition) {
    const struct {
        int from;
        int to;
        const char* label;
        int percent;
        std::vector<int> reported;
    } cases[] = {
        {50, 0, "200%", 200, {200}},   // top
        {50, 49, "102%", 102, {102}},  // 101 % cannot be set
        {0, 50, "100%", 100, {100}},   // middle
        {50, 51, "99%", 99, {99}},     // just below the middle
        {50, 100, "50%", 50, {50}},    // bottom
        {50, 80, "70%", 70, {70}},     // as read from the settings file
        {50, 50, "100%", 100, {}},     // no change, no event
        {50, 150, "50%", 50, {50}},    // out of range: clamped to the bottom
        {50, -7, "200%", 200, {200}},  // and to the top
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from << "->" << c.to);
        SpeedRig rig;
        rig.window.setSliderPosition(c.from);
        rig.reported.clear();
        rig.window.setSliderPosition(c.to);
        EXPECT_EQ(rig.label(), c.label);
        EXPECT_EQ(rig.window.SpeedPercent(), c.percent);
        EXPECT_EQ(rig.reported, c.reported);
    }
}

TEST(SpeedControlWindowTest, KeysAndClicksMoveTheThumbTheWayTheyPoint) {
    const struct {
        const char* name;
        Qt::Key key;
        int position;
        const char* label;
    } cases[] = {
        {"up: faster", Qt::Key_Up, 49, "102%"},     {"down: slower", Qt::Key_Down, 51, "99%"},
        {"page up", Qt::Key_PageUp, 40, "120%"},    {"page down", Qt::Key_PageDown, 60, "90%"},
        {"home: the top", Qt::Key_Home, 0, "200%"}, {"end: the bottom", Qt::Key_End, 100, "50%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpeedRig rig;
        rig.window.show();
        QTest::keyClick(rig.slider(), c.key);
        EXPECT_EQ(rig.window.sliderPosition(), c.position);
        EXPECT_EQ(rig.label(), c.label);
    }
    // A click near the top end of the groove moves the thumb up, towards 200 %.
    SpeedRig rig;
    rig.window.show();
    QSlider* slider = rig.slider();
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, 3));
    EXPECT_LT(rig.window.sliderPosition(), 50);
    ASSERT_FALSE(rig.reported.empty());
    EXPECT_GT(rig.reported.back(), 100);
}

TEST(SpeedControlWindowTest, ResetButtonReturnsToTheMiddle) {
    const struct {
        int from;
        std::vector<int> reported;
    } cases[] = {{80, {100}}, {0, {100}}, {50, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        SpeedRig rig;
        rig.window.setSliderPosition(c.from);
        rig.reported.clear();
        child<QPushButton>(rig.window, "ButtonResetSpeed")->click();
        EXPECT_EQ(rig.window.sliderPosition(), 50);
        EXPECT_EQ(rig.label(), "100%");
        EXPECT_EQ(rig.reported, c.reported);
    }
}

// The feedback window with the font dialog answered by the test.
class ScriptedFeedbackWindow : public TFormVisualFeedbackWindow {
  public:
    ScriptedFeedbackWindow() : TFormVisualFeedbackWindow(nullptr) {}
    std::optional<QFont> answer;
    std::vector<QFont> asked;
    std::optional<QFont> chooseFont(const QFont& current) override {
        asked.push_back(current);
        return answer;
    }
    QString text() { return child<QLabel>(*this, "LabelFeedbackString")->text(); }
    QString notes() { return child<QLabel>(*this, "LabelNote1")->text(); }
    QColor labelColor() {
        return child<QLabel>(*this, "LabelFeedbackString")->palette().color(QPalette::WindowText);
    }
};

QString codePoint(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

TEST(VisualFeedbackWindowTest, SegmentNumbersShowTheirCharacterAndColour) {
    const struct {
        int32_t number;
        int code;
        QColor color;
        char32_t picture;  // the Wingdings character's Unicode counterpart
    } cases[] = {
        {0, 33, QColor(0, 0, 0), 0x1F589},          // black pencil
        {222, 255, QColor(0, 0, 0), 0x229E},        // last character, still black
        {223, 33, QColor(128, 0, 0), 0x1F589},      // maroon
        {3344, 255, QColor(0, 255, 255), 0x229E},   // aqua
        {3345, 33, QColor(0, 0, 0), 0x1F589},       // black again
        {41, 74, QColor(0, 0, 0), 0x263A},          // smiling face
        {2007 + 8, 41, QColor(255, 0, 0), 0x2706},  // red telephone location sign
    };
    ScriptedFeedbackWindow window;
    window.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        window.ShowSegmentNumber(c.number, {});
        EXPECT_EQ(window.characterCode(), c.code);
        EXPECT_EQ(window.symbolColor(), c.color);
        EXPECT_EQ(window.labelColor(), c.color);
        EXPECT_EQ(window.text(), codePoint(c.picture));
    }
}

TEST(VisualFeedbackWindowTest, NotesAppearUnderTheSymbol) {
    using Context = FeedbackSymbol::Context;
    const struct {
        const char* name;
        Context context;
        const char* notes;
    } cases[] = {
        {"To checked and 4000 segments",
         {.segToChecked = true,
          .segToEnabled = true,
          .segmentCount = 4000,
          .durationEnabled = true},
         "Note: Number of segments (4000) is greater than number of character/color "
         "combinations (3345). Also \"Segments To\" and \"Overlap\" should not be checked."},
        {"cue list: no count note", {.segmentCount = 4000, .durationEnabled = false}, ""},
        {"nothing to note again", {.segmentCount = 10, .durationEnabled = true}, ""},
    };
    ScriptedFeedbackWindow window;
    window.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window.ShowSegmentNumber(7, c.context);
        EXPECT_EQ(window.notes().toStdString(), c.notes);
    }
}

TEST(VisualFeedbackWindowTest, HiddenWindowAndNoNumberChangeNothing) {
    const FeedbackSymbol::Context noted{.segToChecked = true, .segToEnabled = true};
    const struct {
        const char* name;
        bool shown;
        int32_t number;
    } cases[] = {{"hidden", false, 223}, {"no number", true, -1}, {"negative", true, -224}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedFeedbackWindow window;
        if (c.shown) {
            window.show();
        }
        const QString before = window.text();
        const QColor color = window.symbolColor();
        window.ShowSegmentNumber(c.number, noted);
        EXPECT_EQ(window.characterCode(), 'A');
        EXPECT_EQ(window.text(), before);
        EXPECT_EQ(window.symbolColor(), color);
        EXPECT_EQ(window.notes(), "");
    }
}

TEST(VisualFeedbackWindowTest, ClosingEitherWayCallsOnClosed) {
    const struct {
        const char* name;
        bool menu;
    } cases[] = {{"close box", false}, {"Settings/Close", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedFeedbackWindow window;
        int closed = 0;
        window.onClosed = [&closed] { ++closed; };
        window.show();
        if (c.menu) {
            child<QAction>(window, "Close1")->trigger();
        } else {
            window.close();
        }
        EXPECT_EQ(closed, 1);
        EXPECT_FALSE(window.isVisible());
    }
    SpeedRig rig;
    rig.window.show();
    rig.window.close();
    EXPECT_EQ(rig.closed, 1);
}

TEST(VisualFeedbackWindowTest, FontMenuTakesTheChosenFontAndKeepsTheCharacterSet) {
    QFont chosen("DejaVu Sans");
    chosen.setPointSize(40);
    chosen.setBold(true);
    const struct {
        const char* name;
        std::optional<QFont> answer;
        FontSettings expected;
    } cases[] = {
        {"cancelled", std::nullopt, {"Wingdings", false, false, false, false, 300, 1}},
        {"DejaVu Sans bold 40", chosen, {"DejaVu Sans", true, false, false, false, 40, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedFeedbackWindow window;
        window.answer = c.answer;
        window.show();
        window.ShowSegmentNumber(223 + 32, {});  // 'A' in maroon
        child<QAction>(window, "Font1")->trigger();
        ASSERT_EQ(window.asked.size(), 1u);
        EXPECT_EQ(window.asked[0].family(), "Wingdings");
        EXPECT_EQ(window.asked[0].pointSize(), 300);
        EXPECT_EQ(window.symbolFont(), c.expected);
        // The shown character stays, in its colour, drawn in the new font.
        EXPECT_EQ(window.characterCode(), 'A');
        EXPECT_EQ(window.symbolColor(), QColor(128, 0, 0));
    }
}

TEST(VisualFeedbackWindowTest, ClientSizeIsTheAreaUnderTheMenu) {
    const QSize sizes[] = {{550, 500}, {300, 200}, {120, 90}, {900, 700}};
    ScriptedFeedbackWindow window;
    EXPECT_EQ(window.clientSize(), QSize(550, 500));
    window.show();
    for (const QSize size : sizes) {
        window.setClientSize(size);
        QApplication::processEvents();
        EXPECT_EQ(window.clientSize(), size);
        EXPECT_EQ(child<QWidget>(window, "Panel")->size(), size);
    }
}

// Renders the character of every code 33..255 and groups the codes by the picture they
// show. Codes whose picture is empty are listed under an empty key.
std::map<QByteArray, std::vector<int>> renderEveryCode(ScriptedFeedbackWindow& window) {
    std::map<QByteArray, std::vector<int>> pictures;
    QLabel* label = child<QLabel>(window, "LabelFeedbackString");
    for (int32_t n = 0; n < FeedbackSymbol::kCharacterCount; ++n) {
        window.ShowSegmentNumber(n, {});
        const QImage image = label->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        bool inked = false;
        for (int y = 0; y < image.height() && !inked; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width() && !inked; ++x) {
                inked = qAlpha(line[x]) > 128 && qGray(line[x]) < 128;
            }
        }
        const QByteArray key =
            inked ? QCryptographicHash::hash(QByteArrayView(image.constBits(), image.sizeInBytes()),
                                             QCryptographicHash::Sha1)
                  : QByteArray();
        pictures[key].push_back(window.characterCode());
    }
    return pictures;
}

// The codes that show nothing or the same picture as another code.
std::string clashes(const std::map<QByteArray, std::vector<int>>& pictures) {
    std::string text;
    for (const auto& [key, codes] : pictures) {
        if (key.isEmpty() || codes.size() > 1) {
            text += key.isEmpty() ? " empty:" : " alike:";
            for (const int code : codes) {
                text += " " + std::to_string(code);
            }
        }
    }
    return text;
}

TEST(VisualFeedbackWindowTest, EveryCodeShowsADistinctVisiblePicture) {
    ASSERT_TRUE(QFontDatabase::hasFamily("Symbola"))
        << "the pictures of the symbol fonts need the font Symbola (fonts-symbola)";
    const struct {
        const char* family;
        const char* drawnIn;  // the family the character 'A' is drawn in
    } cases[] = {
        {"Wingdings", "Symbola"},
        {"Wingdings 2", "Symbola"},
        {"Wingdings 3", "Symbola"},
        {"Webdings", "Symbola"},
        {"Symbol", "Symbola"},
        {"DejaVu Sans", "DejaVu Sans"},
        {"DejaVu Serif", "DejaVu Serif"},
        {"Arial", "Arial"},  // not installed: drawn in what the system puts in its place
        {"Standard Symbols PS", "Standard Symbols PS"},  // a look-alike of Symbol
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.family);
        ScriptedFeedbackWindow window;
        window.setSymbolFont({c.family, false, false, false, false, 48, 1});
        window.setClientSize(QSize(160, 160));
        window.show();
        EXPECT_EQ(window.drawingFamily().toStdString(), c.drawnIn);
        const auto pictures = renderEveryCode(window);
        EXPECT_EQ(pictures.size(), 223u) << clashes(pictures);
        EXPECT_EQ(pictures.count(QByteArray()), 0u) << clashes(pictures);
    }
}

}  // namespace
}  // namespace murmelix
