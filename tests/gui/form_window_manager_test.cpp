#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

#include "form_main_rig.h"
#include "gui/form_speed_control_window.h"
#include "gui/form_visual_feedback_window.h"

// Places and frames are the window manager's business: these tests need a real X server
// with a window manager (tests/gui/with_window_manager.sh) and are skipped elsewhere.
namespace murmelix {
namespace {

using testing::Rig;

bool underWindowManager() {
    return QGuiApplication::platformName() == "xcb";
}

// Shown, framed by the window manager, and where the window manager put it.
void waitFramed(QWidget* window) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() != window->geometry(); }))
        << window->objectName().toStdString();
    QTest::qWait(200);
}

int stored(const QByteArray& ini, const char* key) {
    const QRegularExpression line(QString("\\n%1=(-?\\d+)").arg(key));
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(ini));
    return match.hasMatch() ? match.captured(1).toInt() : -99999;
}

QByteArray iniText(const Rig& rig) {
    QFile file(rig.settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WindowManagerTest, EveryWindowKeepsItsPlaceOverRestartsAndToolWindowsDoNotCoverEachOther) {
    if (!underWindowManager()) {
        GTEST_SKIP() << "needs X with a window manager";
    }
    const struct {
        const char* name;
        QByteArray ini;
        int left;  // of the main window
    } cases[] = {
        {"no settings file", {}, 200},
        {"tool windows shown, never placed",
         "[SPEEDCONTROLWINDOW]\nSpeedControlWindowVisible=1\n"
         "[VISUALFEEDBACKWINDOW]\nVisualFeedbackWindowVisible=1\n",
         200},
        {"every window placed",
         "[PROGRAM]\nWindowPosLeft=150\nWindowPosTop=70\n"
         "[SPEEDCONTROLWINDOW]\nSpeedControlWindowVisible=1\n"
         "SpeedControlWindowLeftPosition=900\nSpeedControlWindowTopPosition=300\n"
         "[VISUALFEEDBACKWINDOW]\nVisualFeedbackWindowVisible=1\n"
         "VisualFeedbackWindowLeftPosition=40\nVisualFeedbackWindowTopPosition=500\n",
         150},
    };
    const char* keys[] = {"WindowPosLeft",
                          "WindowPosTop",
                          "SpeedControlWindowLeftPosition",
                          "SpeedControlWindowTopPosition",
                          "VisualFeedbackWindowLeftPosition",
                          "VisualFeedbackWindowTopPosition"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(QStringList{}, c.ini);
        std::vector<int> first;
        for (int run = 0; run < 4; ++run) {
            if (run > 0) {
                rig.start();
            }
            waitFramed(rig.form.get());
            auto* speed = rig.find<TFormSpeedControlWindow>("FormSpeedControlWindow");
            auto* feedback = rig.find<TFormVisualFeedbackWindow>("FormVisualFeedbackWindow");
            if (speed->isVisible() && feedback->isVisible()) {
                waitFramed(speed);
                waitFramed(feedback);
                EXPECT_FALSE(speed->frameGeometry().intersects(feedback->frameGeometry()));
            }
            ASSERT_TRUE(rig.form->close());
            const QByteArray ini = iniText(rig);
            std::vector<int> places;
            for (const char* key : keys) {
                places.push_back(stored(ini, key));
            }
            if (run == 0) {
                first = places;
            } else {
                EXPECT_EQ(places, first) << "restart " << run;
            }
        }
        EXPECT_EQ(stored(iniText(rig), "WindowPosLeft"), c.left);
    }
}

}  // namespace
}  // namespace murmelix
