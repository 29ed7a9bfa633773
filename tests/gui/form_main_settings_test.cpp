#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QUrl>
#include <functional>

#include "base/text_format.h"
#include "form_main_rig.h"

namespace murmelix {
namespace {

using testing::Rig;

QByteArray fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(FormMainSettingsTest, WithoutASettingsFileEveryControlStartsAtItsDefault) {
    Rig rig(QStringList{});
    EXPECT_EQ(rig.find<QSpinBox>("CSpinEditSegDuration")->value(), 80);
    EXPECT_EQ(rig.find<QSpinBox>("CSpinEditSegDuration2")->value(), 120);
    EXPECT_TRUE(rig.find<QCheckBox>("CheckBoxZeroCrossAdjust")->isChecked());
    EXPECT_FALSE(rig.find<QCheckBox>("CheckBoxUseCueList")->isChecked());
    EXPECT_TRUE(rig.find<QRadioButton>("RadioGroupRandomPlayItem0")->isChecked());
    EXPECT_EQ(rig.find<QSpinBox>("CSpinEditRandomPlayTime")->value(), 15);
    EXPECT_TRUE(rig.find<QAction>("MenuPrefRndSrcProgram")->isChecked());
    for (const char* option :
         {"CheckBoxUseSeparateFolders", "CheckBoxSaveOnExit", "CheckBoxRestWinPos"}) {
        EXPECT_TRUE(rig.find<QCheckBox>(option)->isChecked()) << option;
    }
    EXPECT_EQ(rig.find<QComboBox>("ComboBoxDevicePlayback")->currentIndex(), 0);
    EXPECT_EQ(rig.find<QSpinBox>("EditRecBufferTimeMilliseconds")->value(), 100);
    EXPECT_EQ(rig.form->pos(), QPoint(200, 100));
    EXPECT_TRUE(rig.form->messages.empty());
}

TEST(FormMainSettingsTest, StoredValuesReachTheControls) {
    struct Case {
        const char* ini;
        std::function<void(Rig&)> check;
    } cases[] = {
        {"[SEGMENTS]\nUseCueList=1\nCrossFade=1\n",
         [](Rig& rig) {
             EXPECT_TRUE(rig.find<QCheckBox>("CheckBoxUseCueList")->isChecked());
             EXPECT_TRUE(rig.find<QCheckBox>("CheckBoxCrossFade")->isChecked());
             EXPECT_TRUE(rig.program().controls().useCueList && rig.program().controls().crossFade);
         }},
        {"[segments]\nsegmentduration=0x10\n",
         [](Rig& rig) {
             EXPECT_EQ(rig.find<QSpinBox>("CSpinEditSegDuration")->value(), 16);
             EXPECT_EQ(rig.program().controls().durationMs, 16);
         }},
        {"[PLAYOQT]\nRandomPlayTime=30\nRandomPlay=0\n",
         [](Rig& rig) {
             EXPECT_TRUE(rig.find<QRadioButton>("RadioGroupRandomPlayItem0")->isChecked());
             EXPECT_EQ(rig.find<QSpinBox>("CSpinEditRandomPlayTime")->value(), 30);
             EXPECT_FALSE(rig.program().transport().timedOqt);
         }},
        {"[DEVICES]\nDevicePlayback=5\nDeviceRandomSource=0\n",
         [](Rig& rig) {
             EXPECT_EQ(rig.find<QComboBox>("ComboBoxDevicePlayback")->currentIndex(), -1);
             EXPECT_EQ(rig.program().transport().outputDeviceId, -1);
             EXPECT_EQ(rig.find<QComboBox>("ComboBoxDeviceRandomSource")->currentIndex(), 0);
         }},
        {"[PROGRAM]\nRestWinPos=0\nWindowPosLeft=300\nWindowPosTop=300\n",
         [](Rig& rig) {
             EXPECT_FALSE(rig.find<QCheckBox>("CheckBoxRestWinPos")->isChecked());
             EXPECT_NE(rig.form->pos(), QPoint(300, 300));
         }},
        {"[OQTSESSION]\nCueLabelFontSize=14\nCueLabelFontStyleBold=1\nCueLabelFontColor=255\n",
         [](Rig& rig) {
             const auto* memo = rig.find<QPlainTextEdit>("MemoCueLabels");
             EXPECT_EQ(memo->font().pointSize(), 14);
             EXPECT_TRUE(memo->font().bold());
             EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(255, 0, 0));
         }},
        {"[RANDOMSOURCE]\nRandomSource=3\nRandomSourceUseAbs=1\nRandomSourceFileLoop=0\n",
         [](Rig& rig) {
             EXPECT_TRUE(rig.find<QAction>("MenuPrefRndSrcFractal")->isChecked());
             EXPECT_TRUE(rig.find<QAction>("MenuPrefRndSrcUseAbs")->isChecked());
             EXPECT_FALSE(rig.find<QAction>("MenuPrefRndSrcFileLoop")->isChecked());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        Rig rig(QStringList{}, c.ini);
        c.check(rig);
        EXPECT_TRUE(rig.form->messages.empty());
    }
}

// Listing the sound devices waits until the window has been drawn; the stored devices are
// used as stored meanwhile and checked against the lists when they arrive.
TEST(FormMainSettingsTest, DevicesAreListedAfterTheWindowIsDrawn) {
    const struct {
        int stored;
        std::string failure;
        int listed;  // the device used once the lists are there
    } cases[] = {
        {1, "", 1},
        {5, "", -1},  // no longer there: the default device
        {1, "The sound system could not be started: none.", 1},
    };
    for (const auto& c : cases) {
        Rig rig(QStringList{}, "[DEVICES]\nDevicePlayback=" + QByteArray::number(c.stored) + "\n");
        int calls = 0;
        rig.listDevices = [&] {
            ++calls;
            return DeviceLists{{"Out A", "Out B"}, {"In A"}, c.failure};
        };
        rig.start();
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(rig.program().transport().outputDeviceId, c.stored);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.form.get()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(rig.program().transport().outputDeviceId, c.listed);
        auto* playback = rig.find<QComboBox>("ComboBoxDevicePlayback");
        EXPECT_EQ(playback->count(), 2);
        EXPECT_EQ(playback->currentIndex(), c.listed);
        ASSERT_EQ(rig.form->messages.size(), c.failure.empty() ? 0u : 1u);
        if (!c.failure.empty()) {
            EXPECT_EQ(rig.form->messages[0].caption, "Wave Out Error");
            EXPECT_EQ(rig.form->messages[0].text, c.failure);
        }
    }
}

TEST(FormMainSettingsTest, SaveOnExitOffWritesNothingAndSaveNowStoresIt) {
    for (const bool saveNowFirst : {false, true}) {
        Rig rig(QStringList{});
        rig.click("CheckBoxSaveOnExit");
        if (saveNowFirst) {
            rig.click("ButtonSaveNow");
        }
        const QByteArray saved = fileText(rig.settingsPath());
        EXPECT_EQ(saved.contains("SaveOnExit=0"), saveNowFirst);
        rig.find<QSpinBox>("CSpinEditSegDuration")->setValue(500);
        ASSERT_TRUE(rig.form->close());
        EXPECT_EQ(fileText(rig.settingsPath()), saved) << saveNowFirst;
    }
}

TEST(FormMainSettingsTest, SettingsSurviveARestart) {
    Rig rig(QStringList{});
    rig.find<QSpinBox>("CSpinEditSegDuration")->setValue(200);
    rig.click("CheckBoxOverlap");
    rig.click("CheckBoxUseSeparateFolders");
    rig.find<QComboBox>("ComboBoxDevicePlayback")->setCurrentIndex(1);
    rig.find<QSpinBox>("EditRecBufferTimeMilliseconds")->setValue(300);
    rig.find<QAction>("MenuExtrasSpeedControlWindow")->trigger();
    rig.form->move(250, 150);
    ASSERT_TRUE(rig.form->close());

    rig.start();
    EXPECT_EQ(rig.find<QSpinBox>("CSpinEditSegDuration")->value(), 200);
    EXPECT_TRUE(rig.find<QCheckBox>("CheckBoxOverlap")->isChecked());
    EXPECT_FALSE(rig.find<QCheckBox>("CheckBoxUseSeparateFolders")->isChecked());
    EXPECT_FALSE(rig.program().folders().separate());
    EXPECT_EQ(rig.find<QComboBox>("ComboBoxDevicePlayback")->currentIndex(), 1);
    EXPECT_EQ(rig.program().transport().outputDeviceId, 1);
    EXPECT_EQ(rig.program().recorder().bufferTimeMilliseconds, 300);
    EXPECT_TRUE(rig.find<QAction>("MenuExtrasSpeedControlWindow")->isChecked());
    EXPECT_EQ(rig.form->pos(), QPoint(250, 150));
}

TEST(FormMainSettingsTest, DroppedFilesOpenInOrderByTheirExtension) {
    Rig rig(QStringList{});
    testing::writeToneWav(rig.folder.filePath("dropped.wav"));
    QFile noise(rig.folder.filePath("noise.pcm"));
    ASSERT_TRUE(noise.open(QIODevice::WriteOnly));
    noise.write(QByteArray(128, '\x11'));
    noise.close();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(rig.folder.filePath("dropped.wav")),
                  QUrl::fromLocalFile(rig.folder.filePath("noise.pcm"))});
    // A drop reaches the window that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.form.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.form.get(), &drop);
    EXPECT_EQ(rig.form->caption(), "dropped.wav - Murmelix 2.1");
    const auto* fileItem = rig.find<QAction>("MenuPrefRndSrcFile");
    EXPECT_TRUE(fileItem->isChecked());
    EXPECT_EQ(fileItem->text(), "F&ile [noise.pcm] ...");
    EXPECT_EQ(rig.program().folders().remembered(Folders::Kind::Wav),
              rig.folder.path().toStdString() + "/");
    EXPECT_TRUE(rig.form->messages.empty());
}

}  // namespace
}  // namespace murmelix

namespace murmelix {
namespace {

// What the desktop cannot do, and a settings file that cannot be written, are said.
// xdg-open that starts but has no program for the file exits with a failure: the message
// names the file all the same.
TEST(FormMainSettingsTest, AFailingXdgOpenIsReportedWithTheFileName) {
    const struct {
        const char* script;
        size_t messages;
    } cases[] = {
        {"echo 'xdg-open: no method available for opening' \"$1\" >&2; exit 3", 1},
        {"exit 0", 0},
        {"sleep 2", 0},  // still opening when the window goes
    };
    const QByteArray path = qgetenv("PATH");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        Rig rig(QStringList{});
        ASSERT_TRUE(QDir(rig.folder.path()).mkdir("bin"));
        QFile opener(rig.folder.filePath("bin/xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write(QByteArray("#!/bin/sh\n") + c.script + "\n");
        opener.close();
        opener.setPermissions(opener.permissions() | QFile::ExeOwner);
        qputenv("PATH", rig.folder.filePath("bin").toUtf8() + ":" + path);
        rig.form->realDesktop = true;
        const QString file = rig.folder.filePath("speech.wav");
        rig.form->openWithDesktop(file.toStdString());
        if (c.messages > 0 || std::string(c.script) == "exit 0") {
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return rig.form->findChildren<QProcess*>().empty(); }));
        }
        qputenv("PATH", path);
        ASSERT_EQ(rig.form->messages.size(), c.messages);
        if (c.messages > 0) {
            EXPECT_EQ(rig.form->messages[0].text,
                      formatText(TFormMain::kNoProgramFor, file.toStdString().c_str()));
        }
    }
}

TEST(FormMainSettingsTest, FailuresOfTheDesktopAndOfSaveNowAreReported) {
    Rig rig;
    rig.click("CheckBoxZeroCrossAdjust");
    rig.click("ButtonSessionRec");
    rig.form->sessionTexts.push_back("Why?");
    rig.click("ButtonRndPlay");
    rig.run(400);
    rig.click("ButtonStop");
    ASSERT_TRUE(rig.drain());

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(rig.folder.path()));
    rig.form->desktopOpens = false;
    rig.click("ButtonSessionEdit");
    QDir::setCurrent(before);
    const QString handedOver = rig.folder.filePath("murmelix.wav");
    EXPECT_TRUE(QFileInfo::exists(handedOver));
    ASSERT_EQ(rig.form->opened.size(), 1u);
    EXPECT_EQ(rig.form->opened[0], QUrl::fromLocalFile(handedOver));
    ASSERT_EQ(rig.form->messages.size(), 1u);
    EXPECT_EQ(rig.form->messages[0].text,
              formatText(TFormMain::kNoProgramFor, handedOver.toStdString().c_str()));

    // A folder where the settings file should be cannot be replaced by a file.
    ASSERT_TRUE(QDir().mkpath(rig.settingsPath() + "/blocked"));
    rig.click("ButtonSaveNow");
    ASSERT_EQ(rig.form->messages.size(), 2u);
    EXPECT_EQ(rig.form->messages[1].caption, "Error");
    EXPECT_NE(rig.form->messages[1].text.find("Can't write settings file"), std::string::npos);
    EXPECT_TRUE(QFileInfo(rig.settingsPath()).isDir());
}

}  // namespace
}  // namespace murmelix
