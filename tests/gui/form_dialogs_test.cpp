#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <set>
#include <vector>

#include "form_main_rig.h"
#include "gui/form_echo.h"
#include "gui/form_speed_control_window.h"
#include "gui/form_visual_feedback_window.h"
#include "gui/form_write_rn.h"

namespace murmelix {
namespace {

using testing::Rig;

QStringList linesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split("\n", Qt::SkipEmptyParts);
}

TEST(FormDialogsTest, EchoDialogHandsOverItsPositionsOnlyOnOk) {
    for (const bool ok : {false, true}) {
        TFormEcho echo(nullptr);
        int delay = 100;
        int decay = 50;
        QTimer::singleShot(0, &echo, [&echo, ok] {
            echo.findChild<QScrollBar*>("ScrollBarDelay")->setValue(250);
            echo.findChild<QScrollBar*>("ScrollBarDecay")->setValue(7);
            EXPECT_EQ(echo.findChild<QLabel*>("LabelDelay")->text(), "Delay: 250 ms");
            EXPECT_EQ(echo.findChild<QLabel*>("LabelDecay")->text(), "Decay: 7 %");
            echo.findChild<QPushButton*>(ok ? "ButtonOK" : "ButtonCancel")->click();
        });
        EXPECT_EQ(echo.ask(delay, decay), ok);
        EXPECT_EQ(delay, ok ? 250 : 100);
        EXPECT_EQ(decay, ok ? 7 : 50);
    }
}

TEST(FormDialogsTest, EchoDialogWorksFromTheKeyboardAlone) {
    const struct {
        std::vector<Qt::Key> keys;
        bool accepted;
        int delay;
        int decay;
    } cases[] = {
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Tab, Qt::Key_Left, Qt::Key_Return}, true, 102, 49},
        {{Qt::Key_End, Qt::Key_Tab, Qt::Key_Home, Qt::Key_Return}, true, 1000, 0},
        {{Qt::Key_Right, Qt::Key_Escape}, false, 100, 50},
    };
    for (const auto& c : cases) {
        TFormEcho echo(nullptr);
        int delay = 100;
        int decay = 50;
        QTimer::singleShot(0, &echo, [&echo, &c] {
            echo.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&echo));
            for (const Qt::Key key : c.keys) {
                QWidget* focus = QApplication::focusWidget();
                EXPECT_NE(focus, nullptr);
                QTest::keyClick(focus != nullptr ? focus : &echo, key);
            }
            if (echo.isVisible()) {
                echo.reject();  // the keys did not close it
            }
        });
        EXPECT_EQ(echo.ask(delay, decay), c.accepted);
        EXPECT_EQ(delay, c.delay);
        EXPECT_EQ(decay, c.decay);
    }
}

TEST(FormDialogsTest, WriteCountButtonsDivideAndMultiplyWithinTheRange) {
    struct Case {
        int value;
        const char* button;
        int expected;
    } cases[] = {
        {5, "Button01", 1},
        {9, "Button01", 1},
        {12345, "Button01", 1234},
        {1, "Button10", 10},
        {200000, "Button10", 1000000},
        {1000000, "Button10", 1000000},
    };
    TFormWriteRN form(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << c.button);
        form.setValue(c.value);
        form.findChild<QPushButton*>(c.button)->click();
        EXPECT_EQ(form.value(), c.expected);
    }
    // The value stays from one use to the next; Cancel hands nothing over.
    for (const bool ok : {true, false}) {
        int count = 77;
        QTimer::singleShot(0, &form, [&form, ok] {
            form.findChild<QPushButton*>(ok ? "ButtonOK" : "ButtonCancel")->click();
        });
        EXPECT_EQ(form.ask(count), ok);
        EXPECT_EQ(count, 77);
        EXPECT_EQ(form.value(), 77);
    }
}

TEST(FormDialogsTest, EchoFromTheMenuKeepsItsParametersAndOnlyChangesOnOk) {
    Rig rig;
    const std::vector<uint8_t> before = rig.program().document().data;
    rig.find<QAction>("MenuExtrasEcho")->trigger();  // cancelled
    EXPECT_EQ(rig.program().document().data, before);
    EXPECT_FALSE(rig.program().document().changed);
    rig.form->echoAnswers.push_back({200, 30});
    rig.find<QAction>("MenuExtrasEcho")->trigger();
    EXPECT_NE(rig.program().document().data, before);
    EXPECT_TRUE(rig.program().document().changed);
    EXPECT_EQ(rig.program().dialogValues().echoDelayMs, 200);
    EXPECT_EQ(rig.program().dialogValues().echoDecayPercent, 30);
    EXPECT_TRUE(rig.find<QAction>("MenuFileSave")->isEnabled());
    EXPECT_NE(rig.form->currentSettings().echoDelay, 100);
}

TEST(FormDialogsTest, RandomNumbersAreExportedAndLoggedAcrossTwoOqts) {
    Rig rig;
    rig.program().source().pseudoGenerator().seedFromTime(1);
    const QString exported = rig.folder.filePath("numbers.txt");
    rig.form->countAnswers.push_back(5);
    rig.form->fileAnswers.push_back(exported.toStdString());
    rig.find<QAction>("MenuExtrasWriteRN")->trigger();
    EXPECT_EQ(linesOf(exported),
              QStringList({"346", "13854878", "1621890440", "816282396", "1778554774"}));
    EXPECT_EQ(rig.form->fileDialogs.back().title, "Write random numbers to file...");
    EXPECT_EQ(rig.form->progress.back(), 5);

    const QString logged = rig.folder.filePath("log.txt");
    rig.form->fileAnswers.push_back(logged.toStdString());
    rig.find<QAction>("MenuExtrasProtRN")->trigger();
    EXPECT_TRUE(rig.find<QAction>("MenuExtrasProtRN")->isChecked());
    qsizetype afterFirst = 0;
    for (int run = 0; run < 2; ++run) {
        rig.click("ButtonRndPlay");
        EXPECT_FALSE(rig.find<QAction>("MenuExtrasProtRN")->isEnabled());
        rig.run(500);
        rig.click("ButtonStop");
        ASSERT_TRUE(rig.drain());
        if (run == 0) {
            afterFirst = linesOf(logged).size();
            EXPECT_GT(afterFirst, 0);
        }
    }
    EXPECT_GT(linesOf(logged).size(), afterFirst);
    rig.find<QAction>("MenuExtrasProtRN")->trigger();
    EXPECT_FALSE(rig.find<QAction>("MenuExtrasProtRN")->isChecked());
    EXPECT_TRUE(rig.form->messages.empty());
}

TEST(FormDialogsTest, FractalSourceChosenInItsDialogDrivesTheNextOqt) {
    Rig rig;
    QAction* fractal = rig.find<QAction>("MenuPrefRndSrcFractal");
    fractal->trigger();  // cancelled: the pseudo generator stays
    EXPECT_TRUE(rig.find<QAction>("MenuPrefRndSrcProgram")->isChecked());
    rig.form->fractalAnswers.push_back({"3.9", "0.3"});
    fractal->trigger();
    EXPECT_TRUE(fractal->isChecked());
    ASSERT_EQ(rig.program().source().kind(), RandomSourceKind::Fractal);
    EXPECT_EQ(rig.program().source().growthConstant(), 3.9L);
    rig.click("ButtonRndPlay");
    rig.run(300);
    rig.click("ButtonStop");
    ASSERT_TRUE(rig.drain());
    EXPECT_NE(rig.program().source().population(), 0.3L);
    EXPECT_EQ(rig.form->currentSettings().randomSource, 3);
    EXPECT_TRUE(rig.form->messages.empty());
}

}  // namespace
}  // namespace murmelix

namespace murmelix {
namespace {

TEST(FormDialogsTest, ToolWindowsFollowTheirMenuItemsAndTheSettings) {
    Rig rig(QStringList{"speech.wav"},
            "[SPEEDCONTROLWINDOW]\nSpeedControlWindowSliderPosition=80\n"
            "[VISUALFEEDBACKWINDOW]\nVisualFeedbackWindowVisible=1\n"
            "VisualFeedbackWindowWidth=300\nVisualFeedbackWindowHeight=200\n");
    auto* feedback = rig.find<TFormVisualFeedbackWindow>("FormVisualFeedbackWindow");
    auto* speed = rig.find<TFormSpeedControlWindow>("FormSpeedControlWindow");
    ASSERT_NE(feedback, nullptr);
    ASSERT_NE(speed, nullptr);
    EXPECT_TRUE(feedback->isVisible());
    EXPECT_FALSE(speed->isVisible());
    EXPECT_EQ(feedback->clientSize(), QSize(300, 200));
    // The stored slider sets the speed before anything plays.
    EXPECT_EQ(rig.program().transport().speedPercent(), 70);

    // A distinct symbol for each segment that starts playing.
    rig.click("ButtonRndPlay");
    std::set<int> codes;
    for (int i = 0; i < 20; ++i) {
        rig.run(80);
        codes.insert(feedback->characterCode());
    }
    rig.click("ButtonStop");
    ASSERT_TRUE(rig.drain());
    EXPECT_GT(codes.size(), 5u);

    // Closed by the person: the item loses its check mark; shown again by the item.
    QAction* item = rig.find<QAction>("MenuExtrasVisualFeedbackWindow");
    feedback->close();
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(feedback->isVisible());
    rig.find<QAction>("MenuExtrasSpeedControlWindow")->trigger();
    EXPECT_TRUE(speed->isVisible());

    // Closing the program keeps both shown for the next start.
    ASSERT_TRUE(rig.form->close());
    rig.start();
    EXPECT_TRUE(rig.find<QWidget>("FormVisualFeedbackWindow")->isVisible());
    EXPECT_TRUE(rig.find<QWidget>("FormSpeedControlWindow")->isVisible());
    EXPECT_EQ(rig.program().transport().speedPercent(), 70);
}

// Answers the next font dialog with OK: as it opened, or after choosing `family`.
void answerFontDialog(const QString& family) {
    QTimer::singleShot(0, [family] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (!family.isEmpty()) {
            QFont font = dialog->currentFont();
            font.setFamily(family);
            dialog->setCurrentFont(font);
        }
        dialog->accept();
    });
}

// Fonts this system lacks cannot be picked in the dialog; looking at it must not lose them.
TEST(FormDialogsTest, FontDialogOkWithoutAChangeKeepsTheStoredFont) {
    const struct {
        const char* stored;  // family, installed or not
        const char* picked;  // in the dialog; empty: OK as it opened
        const char* expected;
    } cases[] = {
        {"Wingdings", "", "Wingdings"},
        {"Courier New", "", "Courier New"},
        {"DejaVu Sans Mono", "", "DejaVu Sans Mono"},
        {"Wingdings", "DejaVu Serif", "DejaVu Serif"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored + std::string(" / ") + c.picked);
        Rig rig(QStringList{}, QByteArray("[OQTSESSION]\nCueLabelFontName=") + c.stored +
                                   "\nCueLabelFontSize=13\n[VISUALFEEDBACKWINDOW]\n"
                                   "VisualFeedbackWindowFontName=" +
                                   c.stored + "\nVisualFeedbackWindowFontSize=200\n");
        answerFontDialog(c.picked);
        rig.form->MemoCueLabelsMouseDown();
        answerFontDialog(c.picked);
        rig.find<QAction>("Font1")->trigger();
        const ProgramSettings settings = rig.form->currentSettings();
        EXPECT_EQ(settings.cueLabelFont.name, c.expected);
        EXPECT_EQ(settings.cueLabelFont.size, 13);
        EXPECT_EQ(settings.visualFeedbackWindowFont.name, c.expected);
        EXPECT_EQ(settings.visualFeedbackWindowFont.size, 200);
    }
}

}  // namespace
}  // namespace murmelix
