#include "app/cue_editing.h"

#include <gtest/gtest.h>

#include <string>

#include "app/program.h"
#include "audio/wav_writer.h"
#include "device/simulated_input_device.h"
#include "device/simulated_output_device.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

using testing::ScratchFolder;
using testing::ScriptedUserInterface;

struct EditingRig {
    ScriptedUserInterface ui;
    SimulatedOutputDevice output;
    SimulatedInputDevice recordInput;
    SimulatedInputDevice noiseInput;
    Program program{ui, {output, recordInput, noiseInput}};
    CueEditing editing{program};
    ScratchFolder scratch;

    // One second at 8000 Hz with one region [0, 800).
    void open() {
        AudioDocument doc;
        doc.format = WaveFormat::pcm(8000, 1, 16);
        doc.data.assign(16000, 0);
        doc.cues = {{1, 0, 800, "first", ""}};
        doc.commit("");
        const std::string path = scratch.file("words.wav");
        ASSERT_EQ(WavWriter::writeDocument(path, doc, ui), 0);
        ASSERT_EQ(program.OpenWav(path), 0);
    }
};

// Labels from a file replace the table or are added to it, in one step that undo takes back;
// the document counts as changed and the status shows the new count.
TEST(CueEditingTest, ImportReplacesOrAddsInOneUndoableStep) {
    struct Case {
        bool replace;
        std::vector<std::string> labels;
    } cases[] = {{true, {"a", "b"}}, {false, {"first", "a", "b"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replace);
        EditingRig rig;
        rig.open();
        LabelFile::Contents contents;
        ASSERT_TRUE(LabelFile::parse("0.1\t0.2\ta\n0.5\t0.6\tb\n", "l.txt", contents).ok());
        ASSERT_TRUE(rig.editing.importLabels(contents, "", "l.txt", c.replace).ok());
        std::vector<std::string> labels;
        for (const CuePoint& cue : rig.program.document().cues) {
            labels.push_back(cue.label);
        }
        EXPECT_EQ(labels, c.labels);
        EXPECT_TRUE(rig.program.document().changed);
        EXPECT_EQ(rig.ui.status[1], "Cues: " + std::to_string(c.labels.size()));
        ASSERT_TRUE(rig.editing.undo());
        ASSERT_EQ(rig.program.document().cues.size(), 1u);
        EXPECT_EQ(rig.program.document().cues[0].label, "first");
    }
}

// Edits are refused without a document and while an OQT plays; a new document starts a
// new history.
TEST(CueEditingTest, RefusedWhileAnOqtPlaysAndRenewedWithTheDocument) {
    EditingRig rig;
    EXPECT_TRUE(rig.editing.addRegion(0, 100, false).failed());
    rig.open();
    ASSERT_TRUE(rig.editing.addRegion(1000, 2000, false).ok());
    EXPECT_TRUE(rig.editing.editor().canUndo());
    rig.program.MakeOqt();
    ASSERT_EQ(rig.program.mode(), TransportMode::tmRandomPlay);
    EXPECT_TRUE(rig.editing.rename(0, "x").failed());
    EXPECT_FALSE(rig.editing.undo());
    rig.program.StopPlayback();
    for (int i = 0; i < 1000 && !rig.program.idle(); ++i) {
        rig.output.advance(1);
        rig.program.pumpDevices();
    }
    ASSERT_TRUE(rig.program.idle());
    rig.program.Reverse();
    rig.editing.follow();
    EXPECT_FALSE(rig.editing.editor().canUndo());
    EXPECT_EQ(rig.editing.editor().cues(), rig.program.document().cues);
}

}  // namespace
}  // namespace murmelix
