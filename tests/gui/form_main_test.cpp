#include "gui/form_main.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "device/simulated_input_device.h"
#include "device/simulated_output_device.h"
#include "gui/form_file_filter.h"

#include "form_main_rig.h"
#include "support/sound_files.h"

namespace murmelix {
namespace {

using testing::Rig;

TEST(FormMainTest, CommandLineArgumentsAreOpenedByExtensionAtFirstShow) {
    struct Case {
        QStringList names;
        const char* caption;
        const char* status[3];
        size_t messages;
    } cases[] = {
        {{"speech.wav"},
         "speech.wav - Murmelix 2.1",
         {"Sample: 8000 Hz \xC2\xB7 16 Bit \xC2\xB7 Mono", "Cues: 0", "Time: 10.000 s"},
         0},
        {{"SPEECH.WAV"}, "SPEECH.WAV - Murmelix 2.1", {"", "Cues: 0", "Time: 10.000 s"}, 0},
        {{"notes.txt"}, "Murmelix 2.1", {"Sample:", "Cues:", "Time:"}, 1},
        {{"notes.txt", "b.wav"}, "b.wav - Murmelix 2.1", {"", "Cues: 0", ""}, 1},
    };
    for (const Case& c : cases) {
        Rig rig(c.names);
        const std::string label = c.names.join(",").toStdString();
        EXPECT_EQ(rig.form->caption(), c.caption) << label;
        for (int panel = 0; panel < 3; ++panel) {
            if (*c.status[panel] != '\0') {
                EXPECT_EQ(rig.form->statusText(panel), c.status[panel]) << label << panel;
            }
        }
        ASSERT_EQ(rig.form->messages.size(), c.messages) << label;
        if (c.messages > 0) {
            EXPECT_EQ(rig.form->messages[0].caption, "Error");
            EXPECT_EQ(rig.form->messages[0].text, Program::kUnknownFileType);
        }
        EXPECT_EQ(rig.find<QAbstractButton>("ButtonRndPlay")->isEnabled(),
                  rig.program().document().loaded)
            << label;
    }
}

TEST(FormMainTest, UseCueListWithoutCuesRefusesTheRun) {
    Rig rig;
    rig.click("CheckBoxUseCueList");
    EXPECT_TRUE(rig.program().controls().useCueList);
    EXPECT_FALSE(rig.find<QWidget>("CheckBoxOverlap")->isEnabled());
    EXPECT_FALSE(rig.find<QWidget>("CSpinEditSegDuration")->isEnabled());
    rig.click("ButtonRndPlay");
    ASSERT_EQ(rig.form->messages.size(), 1u);
    EXPECT_EQ(rig.form->messages[0].caption, "Error");
    EXPECT_NE(rig.form->messages[0].text.find("\"Use Cue List\""), std::string::npos);
    EXPECT_EQ(rig.program().mode(), TransportMode::tmIdle);
    EXPECT_FALSE(rig.output.isOpen());
}

TEST(FormMainTest, RecordedOqtStoppedAfterThirtyBuffersShowsOneSequenceOfElevenEntries) {
    Rig rig;
    rig.click("CheckBoxZeroCrossAdjust");  // keep every segment at exactly 80 ms
    rig.click("ButtonSessionRec");
    EXPECT_EQ(rig.find<QLabel>("LabelSessionRecordMode")->text(), "Recording");
    EXPECT_TRUE(rig.find<QAction>("MenuSessionRecord")->isChecked());
    rig.form->sessionTexts.push_back("Will it rain?");
    rig.click("ButtonRndPlay");
    ASSERT_EQ(rig.program().mode(), TransportMode::tmRandomPlay);
    ASSERT_EQ(rig.form->prompts.size(), 1u);

    struct Enabled {
        const char* name;
        bool generating;
        bool afterwards;
    } table[] = {
        {"ButtonStop", true, false},           {"ButtonPause", true, false},
        {"ButtonOpen", false, true},           {"ButtonRndPlay", false, true},
        {"CheckBoxUseCueList", false, true},   {"CheckBoxOverlap", true, true},
        {"RadioGroupRandomPlay", false, true}, {"ButtonSessionPlay", false, true},
        {"EditQuestion", false, true},
    };
    for (const Enabled& e : table) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(rig.find<QWidget>(e.name)->isEnabled(), e.generating);
    }
    rig.run(80 * 10 + 5);
    rig.click("ButtonStop");
    ASSERT_TRUE(rig.drain());
    for (const Enabled& e : table) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(rig.find<QWidget>(e.name)->isEnabled(), e.afterwards);
    }
    EXPECT_EQ(rig.find<QLineEdit>("EditSequence")->text(), "1/1");
    EXPECT_EQ(rig.find<QLineEdit>("EditQuestion")->text(), "Will it rain?");
    ASSERT_EQ(rig.program().session().count(), 1);
    EXPECT_EQ(rig.program().session().last()->entries.size(), 11u);
    EXPECT_EQ(rig.find<QPlainTextEdit>("MemoCueLabels")->blockCount(), 1);

    // Typing the interpretation stores it and makes the session savable.
    rig.find<QLineEdit>("EditAnswer")->setText("sunshine");
    EXPECT_EQ(rig.program().session().current()->answer, "sunshine");
    EXPECT_TRUE(rig.find<QWidget>("ButtonSaveSessionFile")->isEnabled());
}

TEST(FormMainTest, CloseIsRefusedWhileGeneratingAndAfterCancelAtTheSaveQuestion) {
    struct Case {
        const char* name;
        bool generate;
        std::deque<MessageResult> answers;
        bool closes;
    } cases[] = {
        {"unchanged, idle", false, {}, true},
        {"changed, answer No", false, {MessageResult::No}, true},
        {"changed, answer Cancel", false, {MessageResult::Cancel}, false},
        {"generating, then stopped", true, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (!c.answers.empty()) {
            rig.find<QAction>("MenuExtrasReverse")->trigger();
            ASSERT_TRUE(rig.program().document().changed);
        }
        if (c.generate) {
            rig.click("ButtonRndPlay");
            EXPECT_FALSE(rig.form->close());
            EXPECT_TRUE(rig.form->isVisible());
            EXPECT_TRUE(rig.form->messages.empty()) << "refused without a message";
            rig.click("ButtonStop");
            ASSERT_TRUE(rig.drain());
        }
        rig.form->answers = c.answers;
        EXPECT_EQ(rig.form->close(), c.closes);
        EXPECT_EQ(rig.program().document().loaded, !c.closes);
        if (!c.answers.empty()) {
            ASSERT_FALSE(rig.form->messages.empty());
            EXPECT_EQ(rig.form->messages.back().caption, "Warning");
            EXPECT_EQ(rig.form->messages.back().text, Program::kSaveWavQuestion);
        }
    }
}

TEST(FormMainTest, TimedOqtIsChosenByTheSecondsSpinEditAndStopsByItsTimer) {
    Rig rig;
    EXPECT_TRUE(rig.find<QRadioButton>("RadioGroupRandomPlayItem0")->isChecked());
    rig.find<QSpinBox>("CSpinEditRandomPlayTime")->setValue(2);
    EXPECT_TRUE(rig.find<QRadioButton>("RadioGroupRandomPlayItem1")->isChecked());
    EXPECT_TRUE(rig.program().transport().timedOqt);
    EXPECT_EQ(rig.program().transport().timedOqtSeconds, 2);
    rig.click("ButtonRndPlay");
    auto* timer = rig.form->findChild<QTimer*>("TimerRandomPlay");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_FALSE(rig.find<QWidget>("RadioGroupRandomPlayItem0")->isEnabled());
    rig.click("ButtonStop");
    ASSERT_TRUE(rig.drain());
    EXPECT_FALSE(timer->isActive());
}

TEST(FormMainTest, ClickingIntoTheSecondsBoxChoosesTimedOqt) {
    Rig rig;
    auto* seconds = rig.find<QSpinBox>("CSpinEditRandomPlayTime");
    QTest::mouseClick(seconds->findChild<QLineEdit*>(), Qt::LeftButton);
    EXPECT_TRUE(rig.find<QRadioButton>("RadioGroupRandomPlayItem1")->isChecked());
    EXPECT_TRUE(rig.program().transport().timedOqt);
    EXPECT_EQ(rig.program().transport().timedOqtSeconds, seconds->value());
}

// Older files hold Windows-1252: shown, such a text is read as that, and left as it is.
TEST(FormMainTest, TextsThatAreNotUtf8ShowAsWindows1252AndStayAsTheyAre) {
    const struct {
        std::string stored;
        const char* shown;
    } cases[] = {
        {"Caf\xE9 \x80 5?", "Caf\u00E9 \u20AC 5?"},
        {"Caf\xC3\xA9?", "Caf\u00E9?"},  // UTF-8 stays UTF-8
        {"\x81?", "\uFFFD?"},            // a byte Windows-1252 leaves undefined
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.click("ButtonSessionRec");
        rig.form->sessionTexts.push_back(c.stored);
        rig.click("ButtonRndPlay");
        rig.run(400);
        rig.click("ButtonStop");
        ASSERT_TRUE(rig.drain());
        EXPECT_EQ(rig.find<QLineEdit>("EditQuestion")->text(), QString::fromUtf8(c.shown));
        ASSERT_NE(rig.program().session().current(), nullptr);
        EXPECT_EQ(rig.program().session().current()->question, c.stored);
    }
}

// File > Import takes any sound file; the window says where the new document came from.
TEST(FormMainTest, ImportMenuOpensOtherSoundFilesAndTellsTheirOrigin) {
    Rig rig(QStringList{});
    const std::string flac = rig.folder.filePath("tone.flac").toStdString();
    ASSERT_TRUE(testing::writeSndfile(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 2, 8000, 8000));
    rig.form->fileAnswers.push_back(flac);
    rig.find<QAction>("MenuFileImport")->trigger();
    ASSERT_EQ(rig.form->fileDialogs.size(), 1u);
    EXPECT_NE(rig.form->fileDialogs[0].filter.find("*.flac"), std::string::npos);
    EXPECT_EQ(rig.form->windowTitle().toStdString(),
              "tone.flac (Imported: 24-bit 8000 Hz stereo FLAC) - Murmelix 2.1");
    EXPECT_EQ(rig.form->statusText(0).rfind("Imported: 24-bit", 0), 0u);
    EXPECT_TRUE(rig.find<QAction>("MenuFileSave")->isEnabled());
    EXPECT_TRUE(rig.form->messages.empty());
}

TEST(FormMainTest, EveryNamedControlAndMenuItemExists) {
    Rig rig;
    const char* names[] = {
        "ButtonOpen",
        "ButtonSave",
        "ButtonRecord",
        "ButtonPlay",
        "ButtonRndPlay",
        "ButtonPause",
        "ButtonStop",
        "MenuFile",
        "MenuFileOpen",
        "MenuFileImport",
        "MenuFileSave",
        "MenuFileRecord",
        "MenuFilePlay",
        "MenuFileOQT",
        "MenuFilePause",
        "MenuFileStop",
        "MenuFileExit",
        "MenuSession",
        "MenuSessionNew",
        "MenuSessionOpen",
        "MenuSessionSave",
        "MenuSessionRecord",
        "MenuSessionPlay",
        "MenuSessionOQT",
        "MenuSessionStop",
        "MenuSessionWAV",
        "MenuSessionEdit",
        "MenuSessionPrev",
        "MenuSessionNext",
        "Extras1",
        "MenuExtrasReverse",
        "MenuExtrasEcho",
        "MenuExtrasNormalize",
        "MenuExtrasSpeedControlWindow",
        "MenuExtrasVisualFeedbackWindow",
        "MenuPrefRndSrc",
        "MenuExtrasProtRN",
        "MenuExtrasWriteRN",
        "MenuExtrasSettings",
        "MenuHelp",
        "MenuHelpManual",
        "QuickstartGuide1",
        "MenuHelpDownload",
        "MenuHelpAbout",
        "GroupBoxSegments",
        "CSpinEditSegDuration",
        "CSpinEditSegDuration2",
        "CheckBoxSegTo",
        "CheckBoxOverlap",
        "CheckBoxZeroCrossAdjust",
        "CheckBoxCrossFade",
        "CheckBoxUseCueList",
        "RadioGroupRandomPlay",
        "CSpinEditRandomPlayTime",
        "TimerRandomPlay",
        "GroupBoxSession",
        "EditSessionFile",
        "ButtonCloseSessionFile",
        "ButtonOpenSessionFile",
        "ButtonSaveSessionFile",
        "EditDateTime",
        "EditSequence",
        "EditQuestion",
        "EditAnswer",
        "MemoCueLabels",
        "LabelSessionRecordMode",
        "ButtonSessionRec",
        "ButtonSessionPlay",
        "ButtonSessionPlaySeq",
        "ButtonSessionStop",
        "ButtonSessionWav",
        "ButtonSessionEdit",
        "ButtonSessionPrev",
        "ButtonSessionNext",
        "FormSessionEdit",
        "FormAbout",
        "EditString",
        "ButtonOK",
        "ButtonCancel",
    };
    for (const char* name : names) {
        EXPECT_NE(rig.find(name), nullptr) << name;
    }
    EXPECT_FALSE(rig.form->maximumSize().isEmpty());
    EXPECT_EQ(rig.form->minimumSize(), rig.form->maximumSize()) << "fixed size";
}

TEST(FormMainTest, DialogFiltersBecomeQtNameFilters) {
    struct Case {
        const char* filter;
        QStringList expected;
    } cases[] = {
        {"WAV Files (*.wav)|*.wav|All Files (*.*)|*.*", {"WAV Files (*.wav)", "All Files (*)"}},
        {"Text File (*.txt)|*.txt", {"Text File (*.txt)"}},
        {"Mixed|*.wav;*.oqt", {"Mixed (*.wav *.oqt)"}},
        {"", {"All Files (*)"}},
        {"Broken|", {"All Files (*)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(qtNameFilters(c.filter), c.expected);
    }
    EXPECT_EQ(qtDefaultSuffix("*.wav"), "wav");
    EXPECT_EQ(qtDefaultSuffix(".oqt"), "oqt");
    EXPECT_EQ(qtDefaultSuffix("*.*"), "");
    EXPECT_EQ(qtFilterSuffix("Praat TextGrids (*.TextGrid)"), "TextGrid");
    EXPECT_EQ(qtFilterSuffix("Label Files (*.txt *.TextGrid)"), "");
    EXPECT_EQ(qtFilterSuffix("All Files (*)"), "");
}

}  // namespace
}  // namespace murmelix
