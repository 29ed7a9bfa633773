#include "gui/form_waveform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <set>

#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "audio/zero_crossing.h"
#include "form_main_rig.h"
#include "gui/form_find_regions.h"
#include "support/scripted_user_interface.h"

namespace murmelix::testing {
namespace {

// The main window with the waveform window shown, driven with the mouse.
struct WaveRig : Rig {
    TFormWaveform* wave = nullptr;

    WaveRig() {
        wave = form->waveformWindow();
        form->findChild<QAction*>("MenuExtrasWaveformWindow")->trigger();
        EXPECT_TRUE(wave->isVisible());
        // As F9 leaves it: in front with the focus, so that its keys work.
        wave->showAndFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(wave));
    }
    int midY() const { return wave->waveArea().height() / 2 + 10; }
    void drag(int from, int to) {
        QTest::mousePress(wave, Qt::LeftButton, {}, QPoint(from, midY()));
        QTest::mouseMove(wave, QPoint((from + to) / 2, midY()));
        QTest::mouseMove(wave, QPoint(to, midY()));
        QTest::mouseRelease(wave, Qt::LeftButton, {}, QPoint(to, midY()));
    }
    void act(const char* name) {
        QAction* action = wave->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }
    const std::vector<CuePoint>& cues() { return program().document().cues; }
    int xOf(int64_t frame) const { return wave->currentLayout().xOf(frame); }
    // The pointer over x with no button down (QTest moves only the cursor then).
    void hover(int x) {
        const QPointF at(x, midY());
        QMouseEvent move(QEvent::MouseMove, at, wave->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(wave, &move);
    }
    // Where region `index` has its label drawn.
    QPoint labelOf(size_t index) const {
        for (const WaveformLayout::Region& region : wave->currentLayout().regions) {
            if (region.cueIndex == index) {
                return {region.labelX + 3, region.labelY + 3};
            }
        }
        return {};
    }
    std::vector<ScriptedFormMain::Shown>& messages() { return form->messages; }
};

// Each edit with the mouse and keys changes the document's table; undoing them all gives
// back every table on the way, and redoing them all the last one.
TEST(WaveformWindowTest, MouseEditsChangeTheTableAndUndoRedoRestoreIt) {
    WaveRig rig;
    ASSERT_TRUE(rig.program().document().loaded);
    rig.form->findChild<QCheckBox*>("CheckBoxZeroCrossAdjust")->click();  // off first
    ASSERT_FALSE(rig.program().controls().zeroCrossAdjust);
    struct Step {
        const char* name;
        std::function<void()> act;
        std::function<void()> check;
    };
    const Step steps[] = {
        {"drag and Insert add a region",
         [&] {
             rig.drag(100, 300);
             rig.act("ActionAddRegion");
         },
         [&] {
             ASSERT_EQ(rig.cues().size(), 1u);
             EXPECT_NEAR(rig.xOf(rig.cues()[0].position), 100, 1);
             EXPECT_NEAR(rig.xOf(rig.cues()[0].position + rig.cues()[0].length), 300, 1);
             EXPECT_EQ(rig.cues()[0].label, "Region 1");
         }},
        {"with Zero-Cross on, borders are rising zero crossings",
         [&] {
             rig.form->findChild<QCheckBox*>("CheckBoxZeroCrossAdjust")->click();
             rig.drag(413, 611);
             rig.act("ActionAddRegion");
         },
         [&] {
             ASSERT_EQ(rig.cues().size(), 2u);
             const CuePoint& cue = rig.cues()[1];
             const AudioDocument& doc = rig.program().document();
             EXPECT_EQ(ZeroCrossing::next(doc, cue.position), cue.position);
             EXPECT_EQ(ZeroCrossing::next(doc, cue.position + cue.length),
                       cue.position + cue.length);
         }},
        {"dragging the end border moves it",
         [&] { rig.drag(rig.xOf(rig.cues()[0].position + rig.cues()[0].length) - 1, 360); },
         [&] { EXPECT_NEAR(rig.xOf(rig.cues()[0].position + rig.cues()[0].length), 360, 1); }},
        {"double-click on the label and typing rename",
         [&] {
             QTest::mouseDClick(rig.wave, Qt::LeftButton, {}, rig.labelOf(0));
             auto* edit = rig.wave->findChild<QLineEdit*>("EditRegionText");
             ASSERT_NE(edit, nullptr);
             edit->setText("hello");
             QTest::keyClick(edit, Qt::Key_Return);
         },
         [&] { EXPECT_EQ(rig.cues()[0].label, "hello"); }},
        {"Delete removes the region a click selected",
         [&] {
             QTest::mouseClick(rig.wave, Qt::LeftButton, {}, QPoint(500, rig.midY()));
             EXPECT_EQ(rig.program().mode(), TransportMode::tmIdle);
             QTest::keyClick(rig.wave, Qt::Key_Delete);
         },
         [&] {
             ASSERT_EQ(rig.cues().size(), 1u);
             EXPECT_EQ(rig.cues()[0].label, "hello");
         }},
    };
    std::vector<std::vector<CuePoint>> tables{rig.cues()};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        step.check();
        tables.push_back(rig.cues());
        EXPECT_TRUE(rig.program().document().changed);
        EXPECT_EQ(rig.form->statusText(1), "Cues: " + std::to_string(rig.cues().size()));
    }
    for (size_t i = tables.size() - 1; i > 0; --i) {
        SCOPED_TRACE(i);
        rig.act("ActionUndo");
        EXPECT_EQ(rig.cues(), tables[i - 1]);
    }
    for (size_t i = 1; i < tables.size(); ++i) {
        rig.act("ActionRedo");
    }
    EXPECT_EQ(rig.cues(), tables.back());
    // Saved, the edited table is what a reader of the file finds.
    const std::string saved = rig.folder.filePath("edited.wav").toStdString();
    rig.form->fileAnswers.push_back(saved);
    rig.form->findChild<QAction*>("MenuFileSave")->trigger();
    AudioDocument back;
    ScriptedUserInterface quiet;
    ASSERT_EQ(WavReader::readFile(saved, back, quiet), 0);
    EXPECT_EQ(back.cues, tables.back());
}

// A click on a region selects it quietly; a double-click plays just that region through
// file playback, which Stop ends.
TEST(WaveformWindowTest, DoubleClickOnARegionPlaysItsSpan) {
    WaveRig rig;
    ASSERT_TRUE(rig.wave->cueEditing().addRegion(16000, 24000, false).ok());
    QTest::mouseClick(rig.wave, Qt::LeftButton, {}, QPoint(rig.xOf(20000), rig.midY()));
    EXPECT_EQ(rig.program().mode(), TransportMode::tmIdle);
    EXPECT_EQ(rig.wave->selectedRegion(), 0u);
    QTest::mouseDClick(rig.wave, Qt::LeftButton, {}, QPoint(rig.xOf(20000), rig.midY()));
    EXPECT_EQ(rig.program().mode(), TransportMode::tmPlay);
    EXPECT_EQ(rig.program().transport().filePlayFirst(), 16000);
    EXPECT_EQ(rig.program().transport().filePlayFrames(), 8000);
    rig.run(50);
    ASSERT_TRUE(rig.wave->cursorFrame().has_value());
    EXPECT_GE(*rig.wave->cursorFrame(), 16000);
    rig.click("ButtonStop");
    ASSERT_TRUE(rig.drain());
    EXPECT_FALSE(rig.wave->cursorFrame().has_value());
}

// The window's keys as Audacity's users know them, each from a cursor placed by a click at
// 3.75 s, with regions a [1 s, 2 s) and b [2 s, 3 s) and a point at 5 s.
TEST(WaveformWindowTest, KeysPlaySelectZoomAndLabel) {
    struct Case {
        const char* name;
        std::function<void(WaveRig&)> act;
        std::function<void(WaveRig&)> check;
    };
    const auto key = [](WaveRig& rig, int k, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(rig.wave, static_cast<Qt::Key>(k), mods);
    };
    const auto span = [](WaveRig& rig) {
        return rig.wave->selection().value_or(std::pair{-1, -1});
    };
    const int64_t cursorAt = 30000;
    const Case cases[] = {
        {"Space plays from the cursor", [&](WaveRig& rig) { key(rig, Qt::Key_Space); },
         [&](WaveRig& rig) {
             EXPECT_EQ(rig.program().mode(), TransportMode::tmPlay);
             EXPECT_NEAR(rig.program().transport().filePlayFirst(), cursorAt, 100);
             EXPECT_EQ(rig.program().transport().filePlayFirst() +
                           rig.program().transport().filePlayFrames(),
                       80000);
         }},
        {"Shift+Right grows a selection that Space plays",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_Right, Qt::ShiftModifier);
             key(rig, Qt::Key_Right, Qt::ShiftModifier);
             key(rig, Qt::Key_Space);
         },
         [&](WaveRig& rig) {
             const auto [first, end] = span(rig);
             EXPECT_NEAR(end - first, 4 * rig.wave->viewport().framesPerPixel(), 2);
             EXPECT_EQ(rig.program().transport().filePlayFirst(), first);
             EXPECT_EQ(rig.program().transport().filePlayFrames(), end - first);
             EXPECT_EQ(rig.wave->statusText().left(10), "Selection ");
         }},
        {"Space again stops",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_Space);
             key(rig, Qt::Key_Space);
         },
         [&](WaveRig& rig) { EXPECT_EQ(rig.program().mode(), TransportMode::tmIdle); }},
        {"Escape stops",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_Space);
             key(rig, Qt::Key_Escape);
         },
         [&](WaveRig& rig) { EXPECT_EQ(rig.program().mode(), TransportMode::tmIdle); }},
        {"Shift+Home selects to the start",
         [&](WaveRig& rig) { key(rig, Qt::Key_Home, Qt::ShiftModifier); },
         [&](WaveRig& rig) { EXPECT_EQ(span(rig).first, 0); }},
        {"Alt+Right: the point after the cursor",
         [&](WaveRig& rig) { key(rig, Qt::Key_Right, Qt::AltModifier); },
         [&](WaveRig& rig) { EXPECT_EQ(rig.wave->selectedRegion(), 2u); }},
        {"Alt+Left: the region before it, selected",
         [&](WaveRig& rig) { key(rig, Qt::Key_Left, Qt::AltModifier); },
         [&](WaveRig& rig) {
             EXPECT_EQ(rig.wave->selectedRegion(), 1u);
             EXPECT_EQ(span(rig), std::make_pair(int64_t{16000}, int64_t{24000}));
         }},
        {"Shift+Tab twice: back to the first region",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_Backtab, Qt::ShiftModifier);
             key(rig, Qt::Key_Backtab, Qt::ShiftModifier);
         },
         [&](WaveRig& rig) { EXPECT_EQ(rig.wave->selectedRegion(), 0u); }},
        {"Tab, then F2 and typing rename",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_Tab);
             key(rig, Qt::Key_F2);
             QTest::keyClicks(rig.wave->focusWidget(), "marker");
             QTest::keyClick(rig.wave->focusWidget(), Qt::Key_Return);
         },
         [&](WaveRig& rig) { EXPECT_EQ(rig.cues()[2].label, "marker"); }},
        {"Ctrl+B: a region of the selection, its label typed at once",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_End, Qt::ShiftModifier);
             key(rig, Qt::Key_B, Qt::ControlModifier);
             QTest::keyClicks(rig.wave->focusWidget(), "tail");
             QTest::keyClick(rig.wave->focusWidget(), Qt::Key_Return);
         },
         [&](WaveRig& rig) {
             ASSERT_EQ(rig.cues().size(), 4u);
             EXPECT_EQ(rig.cues()[3].label, "tail");
             EXPECT_EQ(rig.cues()[3].position + rig.cues()[3].length, 80000u);
         }},
        {"Ctrl+B without a selection: a point at the cursor",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_B, Qt::ControlModifier);
             QTest::keyClick(rig.wave->focusWidget(), Qt::Key_Return);
         },
         [&](WaveRig& rig) {
             ASSERT_EQ(rig.cues().size(), 4u);
             EXPECT_EQ(rig.cues()[3].length, 0u);
             EXPECT_NEAR(rig.cues()[3].position, cursorAt, 100);
         }},
        {"Ctrl+E zooms to the selection, Ctrl+F fits the whole",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_Left, Qt::AltModifier);
             key(rig, Qt::Key_E, Qt::ControlModifier);
             EXPECT_NEAR(rig.wave->viewport().firstFrame(), 16000, 1);
             EXPECT_NEAR(rig.wave->viewport().endFrame(), 24000, 2);
             key(rig, Qt::Key_F, Qt::ControlModifier);
         },
         [&](WaveRig& rig) { EXPECT_TRUE(rig.wave->viewport().fitsWhole()); }},
        {"Ctrl+1 zooms in, Ctrl+3 out",
         [&](WaveRig& rig) {
             key(rig, Qt::Key_1, Qt::ControlModifier);
             key(rig, Qt::Key_1, Qt::ControlModifier);
             key(rig, Qt::Key_3, Qt::ControlModifier);
         },
         [&](WaveRig& rig) {
             EXPECT_NEAR(rig.wave->viewport().framesPerPixel(),
                         80000.0 / rig.wave->viewport().width() / 1.5, 0.1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WaveRig rig;
        CueEditing& editing = rig.wave->cueEditing();
        ASSERT_TRUE(editing.addRegion(8000, 16000, false).ok());
        ASSERT_TRUE(editing.addRegion(16000, 24000, false).ok());
        ASSERT_TRUE(editing.addPoint(40000).ok());
        rig.form->refreshCommands();
        QTest::mouseClick(rig.wave, Qt::LeftButton, {}, QPoint(rig.xOf(cursorAt), rig.midY()));
        c.act(rig);
        c.check(rig);
        rig.program().StopPlayback();
        ASSERT_TRUE(rig.drain());
    }
}

// The context menu's items, which are the window's actions, each have a letter of their
// own; so do the window's buttons, apart from the menu's letters and from the main window's
// menu bar, whose letters reach this window too. The snap toggle is both, with one letter.
TEST(WaveformWindowTest, ItemsHaveLettersOfTheirOwn) {
    WaveRig rig;
    const auto letterOf = [](const QString& text) {
        const auto at = text.indexOf('&');
        EXPECT_GE(at, 0) << text.toStdString();
        return at >= 0 ? text[at + 1].toLower() : QChar();
    };
    std::set<QChar> items;
    for (const QAction* action : rig.wave->actions()) {
        EXPECT_TRUE(items.insert(letterOf(action->text())).second) << action->text().toStdString();
    }
    EXPECT_EQ(items.size(), 13u);
    std::set<QChar> keys;
    for (const QAction* menu : rig.form->menuBar()->actions()) {
        keys.insert(letterOf(menu->text()));
    }
    for (const QAbstractButton* button : rig.wave->findChildren<QAbstractButton*>()) {
        const QChar letter = letterOf(button->text());
        EXPECT_TRUE(keys.insert(letter).second) << button->text().toStdString();
        const bool toggle = button->objectName() == "CheckBoxSnapToZeroCrossings";
        EXPECT_EQ(items.count(letter), toggle ? 1u : 0u) << button->text().toStdString();
    }
}

// The wheel scrolls, with Ctrl it zooms around the pointer.
TEST(WaveformWindowTest, WheelScrollsAndCtrlWheelZooms) {
    WaveRig rig;
    const auto wheel = [&](int notches, Qt::KeyboardModifiers mods) {
        const QPointF at(450, rig.midY());
        QWheelEvent event(at, rig.wave->mapToGlobal(at), {}, {0, notches * 120}, Qt::NoButton, mods,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(rig.wave, &event);
    };
    wheel(2, Qt::ControlModifier);
    const double zoomed = rig.wave->viewport().framesPerPixel();
    EXPECT_NEAR(zoomed, 80000.0 / rig.wave->viewport().width() / 2.25, 0.1);
    const int64_t first = rig.wave->viewport().firstFrame();
    wheel(-1, {});
    EXPECT_GT(rig.wave->viewport().firstFrame(), first);
    wheel(1, Qt::ShiftModifier);
    EXPECT_NEAR(rig.wave->viewport().firstFrame(), first, zoomed);
    EXPECT_DOUBLE_EQ(rig.wave->viewport().framesPerPixel(), zoomed);
}

// In a view where regions stand a few pixels apart a drag selects and moves no border;
// zoomed in, a border two regions share moves both, onto a rising zero crossing when
// snapping is on. The region under the pointer is in the status line.
TEST(WaveformWindowTest, DenseDragsSelectAndSharedBordersMoveTogether) {
    WaveRig rig;
    std::vector<CuePoint> dense;
    for (uint32_t i = 0; i < 200; ++i) {
        dense.push_back({i + 1, i * 400, 400, "w" + std::to_string(i), "confidence 0.5"});
    }
    ASSERT_TRUE(rig.wave->cueEditing().adoptFound(dense, true).ok());
    rig.form->refreshCommands();
    rig.drag(100, 300);
    EXPECT_EQ(rig.cues(), dense);
    ASSERT_TRUE(rig.wave->selection().has_value());
    QTest::keyClick(rig.wave, Qt::Key_E, Qt::ControlModifier);
    rig.wave->setSnapToZeroCrossings(true);
    const int64_t border = 40 * 400;  // between w39 and w40
    const int x = rig.xOf(border);
    // Escape drops a border while it is dragged; the status line says where it is.
    QTest::mousePress(rig.wave, Qt::LeftButton, {}, QPoint(x + 1, rig.midY()));
    QTest::mouseMove(rig.wave, QPoint(x + 5, rig.midY()));
    EXPECT_EQ(rig.wave->statusText().left(7), "Border ");
    QTest::keyClick(rig.wave, Qt::Key_Escape);
    QTest::mouseRelease(rig.wave, Qt::LeftButton, {}, QPoint(x + 5, rig.midY()));
    EXPECT_EQ(rig.cues(), dense);
    rig.drag(x + 1, x + 5);
    const CuePoint& before = rig.cues()[39];
    const CuePoint& after = rig.cues()[40];
    EXPECT_EQ(before.position + before.length, after.position);
    EXPECT_NEAR(rig.xOf(after.position), x + 5, 2);
    EXPECT_EQ(ZeroCrossing::next(rig.program().document(), after.position), after.position);
    EXPECT_EQ(after.position + after.length, 41u * 400);
    rig.hover(rig.xOf(after.position + 100));
    EXPECT_TRUE(rig.wave->statusText().contains("Region 41 \"w40\""));
    EXPECT_TRUE(rig.wave->statusText().contains("confidence 0.5"));
}

// Found regions under review are shown and named, but no click or drag edits them or the
// table behind them.
TEST(WaveformWindowTest, RegionsUnderReviewAreShownNotEdited) {
    WaveRig rig;
    ASSERT_TRUE(rig.wave->cueEditing().addRegion(40000, 48000, false).ok());
    const std::vector<CuePoint> before = rig.cues();
    rig.wave->reviewFound(CueSearch{},
                          std::vector<CuePoint>{{7, 8000, 16000, "found", "confidence 0.9"}});
    const int x = rig.xOf(8000);
    rig.drag(x + 1, x + 40);
    QTest::mouseClick(rig.wave, Qt::LeftButton, {}, QPoint(rig.xOf(12000), rig.midY()));
    EXPECT_EQ(rig.wave->selection(), std::make_pair(int64_t{8000}, int64_t{24000}));
    rig.hover(rig.xOf(12000));
    EXPECT_TRUE(rig.wave->statusText().contains("Found region 1 \"found\""));
    EXPECT_FALSE(rig.wave->findChild<QAction*>("ActionDeleteRegion")->isEnabled());
    EXPECT_EQ(rig.cues(), before);
    rig.wave->DiscardFoundClick();
    EXPECT_FALSE(rig.wave->selectedRegion().has_value());
}

// An OQT holds Replace and Add back until it stops; another document or closing the window
// ends a review, the table as it was.
TEST(WaveformWindowTest, AReviewWaitsForAnOqtAndEndsWithItsDocumentOrWindow) {
    const struct {
        const char* name;
        std::function<void(WaveRig&)> act;
    } cases[] = {
        {"another document",
         [](WaveRig& rig) {
             ASSERT_EQ(rig.program().OpenWav(rig.program().document().fileName), 0);
         }},
        {"the window closed", [](WaveRig& rig) { rig.wave->close(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WaveRig rig;
        const std::vector<CuePoint> before = rig.cues();
        rig.wave->reviewFound(CueSearch{}, {{1, 8000, 16000, "found", ""}});
        auto* replace = rig.wave->findChild<QPushButton*>("ButtonReplaceFound");
        rig.click("ButtonRndPlay");
        ASSERT_EQ(rig.program().mode(), TransportMode::tmRandomPlay);
        EXPECT_FALSE(replace->isEnabled());
        rig.click("ButtonStop");
        ASSERT_TRUE(rig.drain());
        EXPECT_TRUE(replace->isEnabled());
        c.act(rig);
        EXPECT_FALSE(rig.wave->review().isOpen());
        EXPECT_EQ(rig.cues(), before);
    }
}

// During an OQT in cue-list mode the highlight is always the region being heard, and it
// goes with the stop; editing is refused meanwhile.
TEST(WaveformWindowTest, HighlightFollowsTheRegionHeardDuringAnOqt) {
    WaveRig rig;
    CueEditing& editing = rig.wave->cueEditing();
    ASSERT_TRUE(editing.addRegion(0, 800, false).ok());
    ASSERT_TRUE(editing.addRegion(40000, 41600, false).ok());
    rig.find<QCheckBox>("CheckBoxUseCueList")->click();
    rig.click("ButtonRndPlay");
    ASSERT_EQ(rig.program().mode(), TransportMode::tmRandomPlay);
    EXPECT_FALSE(rig.wave->findChild<QAction*>("ActionUndo")->isEnabled());
    EXPECT_TRUE(editing.addRegion(1000, 2000, false).failed());
    std::set<std::pair<int64_t, int64_t>> seen;
    for (int ms = 0; ms < 3000; ms += 10) {
        rig.run(10);
        ASSERT_TRUE(rig.wave->highlight().has_value());
        seen.insert(*rig.wave->highlight());
    }
    const std::set<std::pair<int64_t, int64_t>> regions{{0, 800}, {40000, 41600}};
    EXPECT_EQ(seen, regions);
    rig.click("ButtonStop");
    EXPECT_FALSE(rig.wave->highlight().has_value());
    ASSERT_TRUE(rig.drain());
    EXPECT_EQ(rig.cues().size(), 2u);
}

}  // namespace
}  // namespace murmelix::testing

namespace murmelix::testing {
namespace {

// "Import labels..." asks whether to replace the table (Yes), add to it (No) or neither
// (Cancel); a bad file is named in the message with its line; "Export labels..." writes
// what was imported.
TEST(WaveformWindowTest, LabelFilesComeInThroughTheFileMenu) {
    struct Case {
        const char* name;
        const char* contents;
        std::optional<MessageResult> answer;
        std::vector<std::string> labels;
        const char* message;
    } cases[] = {
        {"replace", "1\t2\tnew\n", MessageResult::Yes, {"new"}, nullptr},
        {"add", "1\t2\tnew\n", MessageResult::No, {"old", "new"}, nullptr},
        {"cancel", "1\t2\tnew\n", MessageResult::Cancel, {"old"}, nullptr},
        {"bad line", "1\t2\tnew\nx\t3\tbad\n", std::nullopt, {"old"}, "labels.txt, line 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WaveRig rig;
        ASSERT_TRUE(rig.wave->cueEditing().addRegion(0, 800, false).ok());
        ASSERT_TRUE(rig.wave->cueEditing().rename(0, "old").ok());
        const QString path = rig.folder.filePath("labels.txt");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.contents);
        file.close();
        rig.form->fileAnswers.push_back(path.toStdString());
        if (c.answer) {
            rig.form->answers.push_back(*c.answer);
        }
        rig.messages().clear();
        rig.form->findChild<QAction*>("MenuFileImportLabels")->trigger();
        std::vector<std::string> labels;
        for (const CuePoint& cue : rig.cues()) {
            labels.push_back(cue.label);
        }
        EXPECT_EQ(labels, c.labels);
        if (c.message != nullptr) {
            ASSERT_FALSE(rig.messages().empty());
            EXPECT_NE(rig.messages().back().text.find(c.message), std::string::npos)
                << rig.messages().back().text;
        }
        const QString exported = rig.folder.filePath("out.txt");
        rig.form->fileAnswers.push_back(exported.toStdString());
        rig.form->findChild<QAction*>("MenuFileExportLabels")->trigger();
        QFile written(exported);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll().count('\n'), static_cast<qsizetype>(c.labels.size()));
    }
}

}  // namespace
}  // namespace murmelix::testing

namespace murmelix::testing {
namespace {

// Shown, place and size come from the settings and go back into them; the close box takes
// the check mark of "Waveform" away, the item brings the window back.
TEST(WaveformWindowTest, FollowsItsMenuItemAndTheSettings) {
    Rig rig(QStringList{"speech.wav"},
            "[WAVEFORMWINDOW]\nWaveformWindowVisible=1\nWaveformWindowLeftPosition=30\n"
            "WaveformWindowTopPosition=40\nWaveformWindowWidth=640\n"
            "WaveformWindowHeight=200\nWaveformWindowSnapToZeroCrossings=1\n");
    TFormWaveform* wave = rig.form->waveformWindow();
    EXPECT_TRUE(wave->isVisible());
    EXPECT_TRUE(wave->snapToZeroCrossings());
    EXPECT_EQ(wave->clientSize(), QSize(640, 200));
    QAction* item = rig.find<QAction>("MenuExtrasWaveformWindow");
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F9));
    wave->close();
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(wave->isVisible());
    wave->setClientSize(QSize(700, 250));
    wave->setSnapToZeroCrossings(false);
    const ProgramSettings settings = rig.form->currentSettings();
    EXPECT_FALSE(settings.waveformWindowSnapToZeroCrossings);
    EXPECT_TRUE(settings.waveformWindowVisible);
    EXPECT_EQ(settings.waveformWindowWidth, 700);
    EXPECT_EQ(settings.waveformWindowHeight, 250);
    ASSERT_TRUE(rig.form->close());
    rig.start();
    EXPECT_TRUE(rig.form->waveformWindow()->isVisible());
    EXPECT_EQ(rig.form->waveformWindow()->clientSize(), QSize(700, 250));
}

// Regions found in the recording are shown for review beside the table, in a window that
// scrolls, zooms and selects meanwhile; Replace puts them in place of the table (one undo
// step, which the main window's Edit menu offers), Add adds them, Discard keeps the table.
TEST(WaveformWindowTest, FoundRegionsAreReviewedBeforeTheyChangeTheTable) {
    const struct {
        const char* button;
        size_t cues;  // after the button, with one region there before and two found
    } cases[] = {{"ButtonReplaceFound", 2}, {"ButtonAddFound", 3}, {"ButtonDiscardFound", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        WaveRig rig;
        // Two bursts of tone with silence around and between them.
        AudioDocument words;
        words.format = WaveFormat::pcm(8000, 1, 16);
        words.data.assign(2 * 8000 * 2, 0);
        words.commit("");
        for (int32_t i = 0; i < words.frameCount; ++i) {
            const bool sounding = (i >= 2000 && i < 6000) || (i >= 10000 && i < 14000);
            words.write(0, i, sounding ? (i % 16 < 8 ? 12000 : -12000) : 0);
        }
        const std::string path = rig.folder.filePath("words.wav").toStdString();
        ScriptedUserInterface quiet;
        ASSERT_EQ(WavWriter::writeDocument(path, words, quiet), 0);
        ASSERT_EQ(rig.program().OpenWav(path), 0);
        rig.drag(100, 300);
        rig.act("ActionAddRegion");
        const std::vector<CuePoint> before = rig.cues();
        CueSearch search;
        search.kind = CueSearch::Kind::Pauses;
        rig.form->findCueRegions(search);
        EXPECT_TRUE(rig.messages().empty());
        auto* bar = rig.wave->findChild<QLabel*>("LabelFoundRegions");
        ASSERT_TRUE(bar->isVisible());
        EXPECT_TRUE(bar->text().startsWith("2 cue regions found.")) << bar->text().toStdString();
        // The window works while the bar is shown: keys zoom, the wheel scrolls, a click
        // selects a found region and the status line names it.
        const double whole = rig.wave->viewport().framesPerPixel();
        QTest::keyClick(rig.wave, Qt::Key_1, Qt::ControlModifier);
        EXPECT_LT(rig.wave->viewport().framesPerPixel(), whole);
        const int64_t first = rig.wave->viewport().firstFrame();
        const QPointF at(450, rig.midY());
        QWheelEvent wheel(at, rig.wave->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(rig.wave, &wheel);
        EXPECT_GT(rig.wave->viewport().firstFrame(), first);
        QTest::keyClick(rig.wave, Qt::Key_F, Qt::ControlModifier);
        const CuePoint second = rig.wave->review().found()[1];
        const int x = rig.xOf(second.position + second.length / 2);
        QTest::mouseClick(rig.wave, Qt::LeftButton, {}, QPoint(x, rig.midY()));
        EXPECT_EQ(rig.wave->selectedRegion(), 1u);
        rig.hover(x);
        EXPECT_TRUE(rig.wave->statusText().contains("Found region 2 \"2\""));
        QTest::keyClick(rig.wave, Qt::Key_Space);
        EXPECT_EQ(rig.program().transport().filePlayFirst(), second.position);
        rig.program().StopPlayback();
        ASSERT_TRUE(rig.drain());
        EXPECT_EQ(rig.cues(), before);

        QTest::mouseClick(rig.wave->findChild<QPushButton*>(c.button), Qt::LeftButton);
        EXPECT_FALSE(bar->isVisible());
        ASSERT_EQ(rig.cues().size(), c.cues);
        if (c.cues == 2) {
            EXPECT_EQ(rig.cues()[0].label, "1");
            EXPECT_EQ(rig.cues()[1].label, "2");
        }
        QAction* undo = rig.form->findChild<QAction*>("MenuEditUndo");
        EXPECT_EQ(undo->text().toStdString(),
                  c.cues == 1 ? "&Undo Add Region" : "&Undo Find Cue Regions");
        undo->trigger();
        EXPECT_EQ(rig.cues().size(), c.cues == 1 ? 0u : 1u);
        if (c.cues != 1) {
            EXPECT_EQ(rig.cues(), before);
        }
    }
}

// The find dialog's fields become the search: kind, transcript for both kinds of search,
// a threshold only when it is not automatic, and a padding whose default follows the kind
// until the person sets one.
TEST(WaveformWindowTest, FindDialogFieldsBecomeTheSearch) {
    TFormFindRegions dialog(nullptr);
    auto* padding = dialog.findChild<QSpinBox*>("SpinEditPadding");
    EXPECT_EQ(padding->value(), 20);
    dialog.findChild<QRadioButton*>("RadioButtonWords")->setChecked(true);
    EXPECT_EQ(padding->value(), 0);
    EXPECT_TRUE(padding->isEnabled());
    padding->setValue(35);
    EXPECT_EQ(dialog.search().recognition.paddingMs, 35);
    dialog.findChild<QPlainTextEdit*>("EditTranscript")->setPlainText("hello world");
    CueSearch search = dialog.search();
    EXPECT_EQ(search.kind, CueSearch::Kind::Words);
    EXPECT_EQ(search.recognition.transcript, "hello world");
    EXPECT_EQ(search.pauses.transcript, "hello world");
    EXPECT_FALSE(search.pauses.thresholdDb.has_value());
    dialog.findChild<QRadioButton*>("RadioButtonPauses")->setChecked(true);
    dialog.findChild<QCheckBox*>("CheckBoxAutoThreshold")->setChecked(false);
    dialog.findChild<QSpinBox*>("SpinEditThreshold")->setValue(30);
    search = dialog.search();
    EXPECT_EQ(search.kind, CueSearch::Kind::Pauses);
    EXPECT_EQ(search.pauses.thresholdDb, 30.0);
    EXPECT_EQ(search.pauses.paddingMs, 35);
}

}  // namespace
}  // namespace murmelix::testing
