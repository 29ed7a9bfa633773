// The main window's menus, title and file dialogs as a person used to other sound programs
// expects them: letters, undo from the main window, the chosen export type, imports that
// neither lose the open document nor ask about changes nobody made.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <functional>
#include <map>

#include "app/command_enabling.h"
#include "form_main_rig.h"
#include "gui/form_main_placement.h"
#include "gui/form_waveform.h"
#include "support/sound_files.h"

namespace murmelix::testing {
namespace {

QChar letterOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&' && text[i + 1] != '&') {
            return text[i + 1].toLower();
        }
        if (text[i] == '&') {
            ++i;
        }
    }
    return {};
}

void writeText(const QString& path, const char* text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

std::string fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// No letter reaches two items of one menu, and the items the program always had keep theirs.
TEST(FormMainMenusTest, EveryItemHasALetterOfItsOwnAndTheOldOnesKeepTheirs) {
    Rig rig(QStringList{});
    // Two items of the Session menu have shared the O from the start; they keep it.
    const QString sharedFromTheStart = "MenuSession:o";
    const std::function<void(const QList<QAction*>&, const QString&)> walk =
        [&](const QList<QAction*>& items, const QString& menu) {
            std::map<QChar, QStringList> users;
            for (QAction* item : items) {
                if (item->isSeparator()) {
                    continue;
                }
                const QString name = item->menu() ? item->menu()->objectName() : item->objectName();
                const QChar letter = letterOf(item->text());
                EXPECT_FALSE(letter.isNull()) << name.toStdString();
                users[letter] << name;
                if (item->menu() != nullptr) {
                    walk(item->menu()->actions(), item->menu()->objectName());
                }
            }
            for (const auto& [letter, names] : users) {
                EXPECT_TRUE(names.size() == 1 || menu + ":" + letter == sharedFromTheStart)
                    << menu.toStdString() << ": " << names.join(", ").toStdString();
            }
        };
    walk(rig.form->menuBar()->actions(), "Menu");

    // Each item by its name, with the caption it always had.
    const QString original = QString(R"(
MenuFile=&File; MenuFileOpen=Open WAV &File...; MenuFileSave=S&ave WAV file...;
MenuFileRecord=Re&cord WAV file...; MenuFilePlay=Play &WAV File; MenuFileOQT=&Make an OQT!;
MenuFilePause=Pa&use; MenuFileStop=S&top; MenuFileExit=&Exit; MenuSession=&Session;
MenuSessionNew=&New; MenuSessionOpen=&Open...; MenuSessionSave=&Save...;
MenuSessionRecord=&Record; MenuSessionPlay=&Play; MenuSessionOQT=Play &OQT;
MenuSessionStop=S&top; MenuSessionWAV=E&xport OQT as WAV File...;
MenuSessionEdit=Load OQT into WAV E&ditor; MenuSessionPrev=&- Skip to previous OQT;
MenuSessionNext=&+ Skip to next OQT; Extras1=&Extras; MenuExtrasReverse=Re&verse signal;
MenuExtrasEcho=Add &echo to signal...; MenuExtrasNormalize=&Normalize signal;
MenuExtrasSpeedControlWindow=Spee&d control;
MenuExtrasVisualFeedbackWindow=Visual &feedback window; MenuPrefRndSrc=&Random source;
MenuPrefRndSrcProgram=&Pseudo RNG; MenuPrefRndSrcFractal=&Fractal formula...;
MenuPrefRndSrcSoundcard=&Sound card; MenuPrefRndSrcFile=F&ile...;
MenuPrefRndSrcUseAbs=Use &absolute values; MenuPrefRndSrcRecBest=&Best sample rate;
MenuPrefRndSrcRecNew=&Record new; MenuPrefRndSrcFileLoop=&Loop file;
MenuExtrasProtRN=&Log random numbers...; MenuExtrasWriteRN=&Write RN to a file...;
MenuExtrasSettings=&Settings...; MenuHelp=&Help; MenuHelpManual=&Manual;
QuickstartGuide1=&Quickstart Guide; MenuHelpDownload=Go to &Web Site / Download;
MenuHelpAbout=&About Murmelix...)")
                                 .simplified();
    for (const QString& item : original.split("; ")) {
        const std::string name = item.section('=', 0, 0).toStdString();
        const std::string caption = item.section('=', 1).toStdString();
        const QMenu* menu = rig.find<QMenu>(name.c_str());
        const QAction* action = rig.find<QAction>(name.c_str());
        ASSERT_TRUE(menu != nullptr || action != nullptr) << name;
        EXPECT_EQ((menu != nullptr ? menu->title() : action->text()).toStdString(), caption);
    }
}

// Edit > Undo and Redo (and their keys) work on the cue edits from the main window, named
// after the step they undo.
TEST(FormMainMenusTest, EditMenuUndoesAndRedoesCueEditsByNameAndByKey) {
    Rig rig;
    const QString labels = rig.folder.filePath("words.txt");
    writeText(labels, "0.5\t1.5\thello\n2\t3\tworld\n");
    QAction* undo = rig.find<QAction>("MenuEditUndo");
    QAction* redo = rig.find<QAction>("MenuEditRedo");
    ASSERT_TRUE(undo != nullptr && redo != nullptr);
    EXPECT_FALSE(undo->isEnabled());
    rig.form->fileAnswers.push_back(labels.toStdString());
    rig.find<QAction>("MenuFileImportLabels")->trigger();
    ASSERT_EQ(rig.program().document().cueCount(), 2);
    EXPECT_EQ(rig.form->caption(), "*speech.wav - Murmelix 2.1");
    rig.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.form.get()));
    // Each step undoes (all labels gone) or redoes (both back); an empty key: the menu item.
    const struct {
        const char* key;
        bool undoes;
    } steps[] = {{"", true},       {"", false},      {"Ctrl+Z", true}, {"Ctrl+Shift+Z", false},
                 {"Ctrl+Z", true}, {"Ctrl+Y", false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.key);
        const QKeySequence key(step.key);
        if (key.isEmpty()) {
            (step.undoes ? undo : redo)->trigger();
        } else {
            QTest::keySequence(rig.form.get(), key);
        }
        EXPECT_EQ(rig.program().document().cueCount(), step.undoes ? 0 : 2);
        EXPECT_EQ(undo->text(), step.undoes ? "&Undo" : "&Undo Import Labels");
        EXPECT_EQ(redo->text(), step.undoes ? "&Redo Import Labels" : "&Redo");
        EXPECT_NE(undo->isEnabled(), step.undoes);
        EXPECT_EQ(redo->isEnabled(), step.undoes);
    }
}

// The type chosen in the dialog decides the format; its extension is added where the name
// lacks it. Both label dialogs then start in the folder last used for labels.
TEST(FormMainMenusTest, ExportWritesTheChosenTypeAndLabelDialogsKeepTheirFolder) {
    Rig rig;
    const QString labels = rig.folder.filePath("words.txt");
    writeText(labels, "0.5\t1.5\thello\n");
    rig.form->fileAnswers.push_back(labels.toStdString());
    rig.find<QAction>("MenuFileImportLabels")->trigger();
    ASSERT_EQ(rig.program().document().cueCount(), 1);
    ASSERT_TRUE(QDir(rig.folder.path()).mkdir("out"));
    const QString out = rig.folder.filePath("out") + "/";
    const struct {
        int type;
        const char* typed;
        const char* written;
        const char* holds;
    } cases[] = {
        {0, "demo1", "demo1.txt", "\thello"},
        {1, "demo2", "demo2.TextGrid", "ooTextFile"},
        {1, "demo3.textgrid", "demo3.textgrid", "ooTextFile"},
        {1, "demo4.txt", "demo4.txt.TextGrid", "ooTextFile"},
        {0, "take.1", "take.1.txt", "\thello"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        rig.form->fileAnswers.push_back((out + c.typed).toStdString());
        rig.form->filterAnswers.push_back(c.type);
        rig.find<QAction>("MenuFileExportLabels")->trigger();
        EXPECT_NE(fileText(out + c.written).find(c.holds), std::string::npos);
        // The first export starts where the labels were imported from.
        const QString start = &c == &cases[0] ? rig.folder.path() + "/" : out;
        EXPECT_EQ(rig.form->fileDialogs.back().startFolder, start.toStdString());
    }
    rig.find<QAction>("MenuFileImportLabels")->trigger();  // cancelled
    EXPECT_EQ(rig.form->fileDialogs.back().startFolder, out.toStdString());
}

// An import replaces the open document only once it is there; the dialog offers every
// sound file first.
TEST(FormMainMenusTest, ImportKeepsTheOpenDocumentUntilTheNewOneIsThere) {
    const struct {
        const char* name;
        const char* file;
        bool sound;
        bool cancel;
        bool replaced;
    } cases[] = {
        {"cancelled", "long.flac", true, true, false},
        {"failed", "junk.flac", false, false, false},
        {"done", "long.flac", true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        const std::string path = rig.folder.filePath(c.file).toStdString();
        if (c.sound) {
            ASSERT_TRUE(writeSndfile(path, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 8000, 400000));
        } else {
            writeText(QString::fromStdString(path), "not a sound");
        }
        rig.form->cancelProgress = c.cancel;
        rig.form->fileAnswers.push_back(path);
        rig.find<QAction>("MenuFileImport")->trigger();
        EXPECT_EQ(rig.form->fileDialogs.back().filter.rfind("Sound Files|*.wav;*.flac;", 0), 0u);
        ASSERT_TRUE(rig.program().document().loaded);
        EXPECT_EQ(rig.form->caption() == "speech.wav - Murmelix 2.1", !c.replaced);
    }
}

// "*" marks unsaved changes; an import as it came is no change of the person's, so closing
// it does not ask, but it can be saved at once and Rec says why it waits for that.
TEST(FormMainMenusTest, TitleMarksChangesAndAnUntouchedImportClosesWithoutAQuestion) {
    const struct {
        const char* name;
        const char* file;
        bool reverse;
        const char* caption;
    } cases[] = {
        {"opened", "speech.wav", false, "speech.wav - Murmelix 2.1"},
        {"opened, reversed", "speech.wav", true, "*speech.wav - Murmelix 2.1"},
        {"imported", "tone.flac", false,
         "tone.flac (Imported: 16-bit 8000 Hz mono FLAC) - Murmelix 2.1"},
        {"imported, reversed", "tone.flac", true,
         "*tone.flac (Imported: 16-bit 8000 Hz mono FLAC) - Murmelix 2.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(QStringList{});
        const QString path = rig.folder.filePath(c.file);
        const bool imported = path.endsWith(".flac");
        if (imported) {
            ASSERT_TRUE(
                writeSndfile(path.toStdString(), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 8000, 8000));
        } else {
            writeToneWav(path);
        }
        rig.program().OpenByExtension(path.toStdString());
        if (c.reverse) {
            rig.find<QAction>("MenuExtrasReverse")->trigger();
        }
        EXPECT_EQ(rig.form->caption(), c.caption);
        EXPECT_EQ(rig.find<QAction>("MenuFileSave")->isEnabled(), c.reverse || imported);
        auto* rec = rig.find<QAbstractButton>("ButtonSessionRec");
        EXPECT_EQ(rec->isEnabled(), !imported);
        EXPECT_EQ(rec->toolTip().contains(CommandEnabling::kSaveRecordingFirst), imported);
        rig.form->answers.push_back(MessageResult::Cancel);
        EXPECT_EQ(rig.form->close(), !c.reverse);
        EXPECT_EQ(rig.form->messages.size(), c.reverse ? 1u : 0u);
    }
}

// The waveform window opens under the main window, lower where the screen ends, or beside
// it: never over the main window's buttons.
TEST(FormMainMenusTest, WaveformWindowOpensWhereItCoversNeitherTheMainWindowNorTheScreenEdge) {
    const QRect screen(0, 0, 1280, 1000);
    const QSize wanted(900, 320);
    const QSize least(320, 160);
    const int frame = 40;
    const struct {
        const char* name;
        QRect main;
        QRect expected;
    } cases[] = {
        {"room below", QRect(0, 0, 345, 520), QRect(0, 540, 900, 320)},
        {"lower below", QRect(0, 200, 345, 520), QRect(0, 740, 900, 220)},
        {"beside, right", QRect(300, 300, 345, 520), QRect(665, 300, 575, 320)},
        {"beside, left", QRect(900, 300, 345, 520), QRect(0, 300, 840, 320)},
        {"centred, smaller below", QRect(281, 201, 718, 598), QRect(281, 819, 900, 141)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect place =
            placeBesideMainWindow(c.main, wanted, least, QSize(240, 120), screen, frame);
        EXPECT_EQ(place, c.expected);
        const QRect outer(place.topLeft(), place.size() + QSize(frame, frame));
        EXPECT_FALSE(outer.intersects(c.main));
        EXPECT_TRUE(screen.contains(outer));
    }
}

// The window appears before the files named on the command line are read (a long
// recording takes seconds), and opens them right after.
TEST(FormMainMenusTest, CommandLineFilesOpenOnceTheWindowIsDrawn) {
    Rig rig(QStringList{});
    const QString path = rig.folder.filePath("late.wav");
    writeToneWav(path);
    TFormMain::StartOptions options;
    options.settingsPath = rig.settingsPath().toStdString();
    ScriptedFormMain form({rig.output, rig.recordInput, rig.noiseInput}, {path}, options);
    form.show();
    EXPECT_FALSE(form.program().document().loaded);
    EXPECT_TRUE(QTest::qWaitFor([&form] { return form.started(); }, 5000));
    EXPECT_EQ(form.caption(), "late.wav - Murmelix 2.1");
}

// F9 takes the keyboard to the waveform window, so that its keys work at once.
TEST(WindowManagerTest, F9GivesTheWaveformWindowTheKeyboard) {
    Rig rig;
    rig.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.form.get()));
    QTest::keyClick(rig.form.get(), Qt::Key_F9);
    TFormWaveform* wave = rig.form->waveformWindow();
    ASSERT_TRUE(wave->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([wave] { return QApplication::activeWindow() == wave; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([wave] { return wave->hasFocus(); }, 2000));
}

}  // namespace
}  // namespace murmelix::testing
