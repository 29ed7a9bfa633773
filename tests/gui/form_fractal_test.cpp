#include "gui/form_fractal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "random/number_format.h"
#include "random/unavailable_noise_input.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

// Records the error boxes instead of showing them.
class RecordingFractal : public TFormFractal {
  public:
    using TFormFractal::TFormFractal;
    std::vector<QString> messages;  // "caption: text"

  protected:
    void showMessage(const QString& caption, const QString& text) override {
        messages.push_back(caption + ": " + text);
    }
};

// Answers the formula question with the dialog under test, as the main window does.
struct DialogUserInterface : testing::ScriptedUserInterface {
    std::unique_ptr<RecordingFractal>* form = nullptr;
    std::optional<FractalFieldTexts> askFractalFormula() override { return (*form)->ask(); }
};

struct Rig {
    DialogUserInterface ui;
    UnavailableNoiseInput input;
    RandomSource source{ui, input};
    QWidget owner;
    std::unique_ptr<RecordingFractal> form;

    Rig() {
        ui.form = &form;
        owner.setGeometry(100, 80, 1000, 800);
        form = std::make_unique<RecordingFractal>(&owner, source);
    }
    template <typename T>
    T* find(const char* name) {
        T* control = form->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    // Shows and activates the dialog and lets the first drawing run to its end.
    void open() {
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        finishDrawing();
    }
    void finishDrawing() {
        for (int i = 0; i < 100000 && form->drawing(); ++i) {
            QCoreApplication::processEvents();
        }
        EXPECT_FALSE(form->drawing());
    }
    void click(const char* name) { find<QPushButton>(name)->click(); }
    void type(const char* name, const QString& text) { find<QLineEdit>(name)->setText(text); }
    QString text(const char* name) { return find<QLineEdit>(name)->text(); }
    int position(const char* name) { return find<QSlider>(name)->value(); }
    void mouse(Qt::MouseButton button, int x, int y) {
        QTest::mouseClick(find<QLabel>("ImageFractal"), button, {}, QPoint(x, y));
    }
    // What the window shows, not just what the diagram holds.
    QRgb shown(int x, int y) {
        return find<QLabel>("ImageFractal")->pixmap().toImage().pixel(x, y);
    }
};

TEST(FormFractalTest, OpeningShowsTheSourceValuesAndTheFirstOpeningDrawsOnce) {
    Rig rig;
    const auto* image = rig.find<QLabel>("ImageFractal");
    EXPECT_EQ(image->size(), QSize(200, 200));
    EXPECT_EQ(image->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(rig.shown(100, 100), qRgb(0, 0, 0));
    rig.source.setPopulation(0.5);
    rig.open();
    EXPECT_EQ(rig.form->pos(),
              QPoint(100 + (1000 - rig.form->width()) / 2, 80 + (800 - rig.form->height()) / 2));
    EXPECT_EQ(rig.text("EditFracGrowthConstant"), "3.8");
    EXPECT_EQ(rig.text("EditFracInitPopulation"), "0.5");
    EXPECT_EQ(rig.position("TrackBarGrowthConstant"), 3800000);
    EXPECT_EQ(rig.position("TrackBarInitPopulation"), 500000);
    const BifurcationBounds& bounds = rig.form->diagram().bounds();
    EXPECT_EQ(bounds.rMin, 3.5L);
    EXPECT_EQ(bounds.rMax, 4.0L);
    EXPECT_EQ(bounds.xMax, 1.0L);
    // r = 3.5 ends on a 4-cycle: four full green pixels in the first column.
    for (int row : {25, 34, 99, 123}) {
        EXPECT_EQ(rig.shown(0, row), qRgb(0, 255, 0)) << row;
    }

    // Later openings neither redraw nor forget what was typed, but show the source anew.
    rig.type("EditrMin", "3.6");
    rig.form->hide();
    rig.source.setPopulation(0.25);
    rig.open();
    EXPECT_EQ(rig.form->diagram().bounds().rMin, 3.5L);
    EXPECT_EQ(rig.text("EditrMin"), "3.6");
    EXPECT_EQ(rig.text("EditFracInitPopulation"), "0.25");
}

TEST(FormFractalTest, FieldsAndSlidersFollowEachOther) {
    struct Step {
        const char* what;
        std::function<void(Rig&)> act;
        const char* rText;
        int rPosition;
        const char* xText;
        int xPosition;
    } steps[] = {
        {"r slider", [](Rig& r) { r.find<QSlider>("TrackBarGrowthConstant")->setValue(3712345); },
         "3.712345", 3712345, "0.5", 500000},
        {"typed r moves the slider and stays as typed",
         [](Rig& r) { r.type("EditFracGrowthConstant", "3.7654321"); }, "3.7654321", 3765432, "0.5",
         500000},
        {"typed r within the same millionth stays",
         [](Rig& r) { r.type("EditFracGrowthConstant", "3.7654329"); }, "3.7654329", 3765432, "0.5",
         500000},
        {"not a number: nothing moves", [](Rig& r) { r.type("EditFracGrowthConstant", "3,9"); },
         "3,9", 3765432, "0.5", 500000},
        {"above the range: the slider end", [](Rig& r) { r.type("EditFracGrowthConstant", "4.5"); },
         "4.5", 4000000, "0.5", 500000},
        {"typed key by key over the text",
         [](Rig& r) {
             QLineEdit* edit = r.find<QLineEdit>("EditFracGrowthConstant");
             edit->selectAll();
             QTest::keyClicks(edit, "3.8");
         },
         "3.8", 3800000, "0.5", 500000},
        {"the user's slider move rewrites the text",
         [](Rig& r) { QTest::keyClick(r.find<QSlider>("TrackBarGrowthConstant"), Qt::Key_Left); },
         "3.799999", 3799999, "0.5", 500000},
        {"typed again", [](Rig& r) { r.type("EditFracGrowthConstant", "4.5"); }, "4.5", 4000000,
         "0.5", 500000},
        {"above the range at the end: stays",
         [](Rig& r) { r.type("EditFracGrowthConstant", "4.5"); }, "4.5", 4000000, "0.5", 500000},
        // A position whose text reads back a hair below it must stay where it is.
        {"x slider", [](Rig& r) { r.find<QSlider>("TrackBarInitPopulation")->setValue(500006); },
         "4.5", 4000000, "0.500006", 500006},
        {"iterate",
         [](Rig& r) {
             r.type("EditFracGrowthConstant", "3.8");
             r.type("EditFracInitPopulation", "0.5");
             r.click("ButtonIterate");
         },
         "3.8", 3800000, "0.95", 950000},
        {"iterate again", [](Rig& r) { r.click("ButtonIterate"); }, "3.8", 3800000, "0.1805",
         180500},
        {"right click", [](Rig& r) { r.mouse(Qt::RightButton, 100, 100); }, "3.75", 3750000, "0.5",
         500000},
        {"random r from seed 1",
         [](Rig& r) {
             r.source.pseudoGenerator().setState(1);
             r.click("ButtonGrowthConstant");  // 346 mod 500001
         },
         "3.500346", 3500346, "0.5", 500000},
        {"random x next", [](Rig& r) { r.click("ButtonInitPopulation"); },  // 13854878 mod 1000001
         "3.500346", 3500346, "0.854865", 854865},
    };
    Rig rig;
    rig.open();
    for (const Step& s : steps) {
        s.act(rig);
        EXPECT_EQ(rig.text("EditFracGrowthConstant"), s.rText) << s.what;
        EXPECT_EQ(rig.position("TrackBarGrowthConstant"), s.rPosition) << s.what;
        EXPECT_EQ(rig.text("EditFracInitPopulation"), s.xText) << s.what;
        EXPECT_EQ(rig.position("TrackBarInitPopulation"), s.xPosition) << s.what;
    }
    EXPECT_TRUE(rig.form->messages.empty());
    EXPECT_EQ(rig.text("EditrMin"), "3.5");  // right clicks leave the graphics values alone
}

TEST(FormFractalTest, LeftClicksNarrowTheRangeInEitherOrder) {
    struct Case {
        std::vector<QPoint> clicks;
        bool reopenBetween;
        const char* rMin;
        const char* rMax;
        const char* xMin;
        const char* xMax;
    } cases[] = {
        {{{40, 100}, {80, 100}}, false, "3.6", "3.7", "0.5", "1"},
        {{{80, 100}, {40, 100}}, false, "3.6", "3.7", "0.5", "1"},
        {{{80, 100}, {40, 100}}, true, "3.6", "3.7", "0.5", "1"},  // the order flags persist
        {{{40, 50}, {80, 150}}, false, "3.6", "3.7", "0.25", "0.75"},
        {{{199, 0}}, false, "3.9975", "4", "0.0", "1.0"},  // x: equal pair, fields stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.clicks.front().x() << " first, reopen " << c.reopenBetween);
        Rig rig;
        rig.open();
        for (const QPoint& at : c.clicks) {
            rig.mouse(Qt::LeftButton, at.x(), at.y());
            if (c.reopenBetween) {
                rig.form->hide();
                rig.open();
            }
        }
        EXPECT_EQ(rig.text("EditrMin"), c.rMin);
        EXPECT_EQ(rig.text("EditrMax"), c.rMax);
        EXPECT_EQ(rig.text("EditxMin"), c.xMin);
        EXPECT_EQ(rig.text("EditxMax"), c.xMax);
        EXPECT_EQ(rig.form->diagram().bounds().rMin, 3.5L);  // no redraw until "Draw"
        rig.click("ButtonDraw");
        rig.finishDrawing();
        EXPECT_EQ(rig.form->diagram().bounds().rMax, NumberFormat::parse(c.rMax));
    }
}

// r = 2 holds x at 0.5, so every visible iteration hits row 100 of every column.
TEST(FormFractalTest, ColourBoxesAndColourCountSetWhatEachHitAdds) {
    struct Case {
        bool r, g, b;
        int colors, hits;
        QRgb pixel;
    } cases[] = {
        {false, false, false, 4, 10, qRgb(0, 0, 0)},
        {false, true, false, 255, 10, qRgb(0, 10, 0)},
        {true, false, false, 4, 2, qRgb(126, 0, 0)},
        {false, false, true, 255, 7, qRgb(0, 0, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.r << c.g << c.b << " " << c.colors << " " << c.hits);
        Rig rig;
        rig.open();
        rig.type("EditrMin", "2");
        rig.type("EditrMax", "2");
        rig.find<QSpinBox>("EditnInvisible")->setValue(0);
        rig.find<QSpinBox>("EditnIterations")->setValue(c.hits);
        rig.find<QSpinBox>("EditnColors")->setValue(c.colors);
        rig.find<QCheckBox>("CheckBoxR")->setChecked(c.r);
        rig.find<QCheckBox>("CheckBoxG")->setChecked(c.g);
        rig.find<QCheckBox>("CheckBoxB")->setChecked(c.b);
        rig.click("ButtonDraw");
        rig.finishDrawing();
        for (int x : {0, 199}) {
            EXPECT_EQ(rig.shown(x, 100), c.pixel) << x;
            EXPECT_EQ(rig.shown(x, 99), qRgb(0, 0, 0)) << x;
        }
    }
}

TEST(FormFractalTest, InvalidNumbersAreReportedByDrawIterateAndClicksOnly) {
    const char* const box = "Error: 'abc' is not a valid floating point value.";
    struct Case {
        const char* field;
        std::function<void(Rig&)> act;
        const char* message;  // nullptr: silently ignored
    } cases[] = {
        {"EditxMin", [](Rig& r) { r.click("ButtonDraw"); }, box},
        {"EditxStart", [](Rig& r) { r.click("ButtonDraw"); }, box},
        {"EditFracInitPopulation", [](Rig& r) { r.click("ButtonIterate"); }, box},
        {"EditrMax", [](Rig& r) { r.mouse(Qt::RightButton, 10, 10); }, box},
        {"EditxMax", [](Rig& r) { r.mouse(Qt::LeftButton, 10, 10); }, box},
        {"EditxStart", [](Rig& r) { r.mouse(Qt::RightButton, 10, 10); }, nullptr},
        {"EditFracGrowthConstant", [](Rig& r) { r.click("ButtonApply"); }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        Rig rig;
        rig.open();
        const QImage before = rig.find<QLabel>("ImageFractal")->pixmap().toImage();
        rig.type("EditrMin", "3.6");
        rig.type(c.field, "abc");
        c.act(rig);
        if (c.message != nullptr) {
            EXPECT_EQ(rig.form->messages, std::vector<QString>{c.message});
            EXPECT_EQ(rig.text("EditFracInitPopulation"),
                      c.field == std::string("EditFracInitPopulation") ? "abc" : "0.5");
            EXPECT_EQ(rig.text("EditFracGrowthConstant"), "3.8");  // no click was taken
        } else {
            EXPECT_TRUE(rig.form->messages.empty());
        }
        EXPECT_FALSE(rig.form->drawing());
        EXPECT_EQ(rig.form->diagram().bounds().rMin, 3.5L);
        EXPECT_EQ(rig.find<QLabel>("ImageFractal")->pixmap().toImage(), before);
        EXPECT_EQ(rig.source.growthConstant(), static_cast<double>(3.8));
    }
}

TEST(FormFractalTest, DrawingGrowsByColumnsAndSurvivesRestartsAndClosing) {
    Rig rig;
    rig.form->show();  // no drawing has completed yet: a click does nothing
    rig.mouse(Qt::RightButton, 100, 100);
    EXPECT_EQ(rig.text("EditFracGrowthConstant"), "3.8");
    rig.find<QSpinBox>("EditnIterations")->setValue(100000);
    rig.click("ButtonDraw");
    for (int i = 0; i < 20 && rig.form->diagram().nextColumn() < 10; ++i) {
        QCoreApplication::processEvents();
    }
    const int column = rig.form->diagram().nextColumn();
    ASSERT_GT(column, 0);
    ASSERT_LT(column, 200);  // still drawing, and the dialog still answers
    rig.click("ButtonIterate");
    EXPECT_EQ(rig.text("EditFracInitPopulation"), "0.95");
    EXPECT_EQ(rig.shown(column + 5, 100), qRgb(0, 0, 0));
    rig.type("EditrMin", "3.6");
    rig.click("ButtonDraw");  // starts over
    EXPECT_EQ(rig.form->diagram().nextColumn(), 0);
    QCoreApplication::processEvents();
    rig.form->hide();  // completes at once
    EXPECT_FALSE(rig.form->drawing());
    EXPECT_EQ(rig.form->diagram().bounds().rMin, 3.6L);
    rig.mouse(Qt::RightButton, 0, 100);
    EXPECT_EQ(rig.text("EditFracGrowthConstant"), "3.6");
}

TEST(FormFractalTest, ApplyHandsTheValuesOverAndOkAlsoSelectsTheFractalSource) {
    struct Case {
        const char* r;
        const char* x;
        std::vector<const char*> buttons;
        long double rAfter, xAfter;
        RandomSourceKind kind;
    } cases[] = {
        {"3.9", "0.25", {"ButtonApply", "ButtonCancel"}, 3.9L, 0.25L, RandomSourceKind::Pseudo},
        {"3.9", "0.25", {"ButtonCancel"}, 3.8, 0.5, RandomSourceKind::Pseudo},
        {"3.9", "0.25", {"ButtonOK"}, 3.9L, 0.25L, RandomSourceKind::Fractal},
        {"abc", "0.25", {"ButtonApply", "ButtonCancel"}, 3.8, 0.25L, RandomSourceKind::Pseudo},
        {"3.9", "", {"ButtonOK"}, 3.9L, 0.5, RandomSourceKind::Fractal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.r << " " << c.x << " " << c.buttons.back());
        Rig rig;
        QTimer::singleShot(0, rig.form.get(), [&rig, &c] {
            rig.type("EditFracGrowthConstant", c.r);
            rig.type("EditFracInitPopulation", c.x);
            for (const char* button : c.buttons) {
                rig.click(button);
            }
        });
        rig.source.SelectRandomSource(static_cast<int32_t>(RandomSourceKind::Fractal), {}, true);
        EXPECT_FALSE(rig.form->isVisible());
        EXPECT_EQ(rig.source.growthConstant(), c.rAfter);
        EXPECT_EQ(rig.source.population(), c.xAfter);
        EXPECT_EQ(rig.source.kind(), c.kind);
        EXPECT_TRUE(rig.form->messages.empty());
    }
}

}  // namespace
}  // namespace murmelix
