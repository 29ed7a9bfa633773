#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "labels/cue_editor.h"

namespace murmelix {
namespace {

AudioDocument sineLikeDocument() {
    AudioDocument doc;
    doc.format.formatTag = 1;
    doc.format.channels = 1;
    doc.format.bitsPerSample = 16;
    doc.format.samplesPerSec = 8000;
    doc.data.resize(2000);
    doc.commit("s.wav");
    for (int f = 0; f < doc.frameCount; ++f) {
        doc.write(0, f, (f / 50) % 2 == 0 ? 1000 : -1000);  // rises at 0, 100, 200, ...
    }
    return doc;
}

TEST(CueEditorTest, UndoAndRedoGiveEveryTableBackExactly) {
    const AudioDocument doc = sineLikeDocument();
    CueEditor editor;
    editor.reset({{3, 10, 0, "end", ""}, {9, 100, 50, "b", "n"}}, doc.frameCount);
    std::vector<std::vector<CuePoint>> history = {editor.cues()};
    std::mt19937 random(11);
    // Until more than a hundred steps changed the table (edits that change nothing are no
    // steps). Every draw is made in its own statement: argument order differs by compiler.
    for (int step = 0; history.size() <= 101 && step < 2000; ++step) {
        const size_t count = editor.cues().size();
        const auto pick = [&] {
            return static_cast<size_t>(random() % std::max<size_t>(count, 1));
        };
        const auto frame = [&] { return static_cast<int64_t>(random() % 1100); };
        Result result = Result::success();
        switch (random() % 5) {
            case 0: {
                const int64_t start = frame();
                const int64_t end = frame();
                result =
                    editor.addRegion(doc, start, end, "r" + std::to_string(step), step % 2 == 0);
                break;
            }
            case 1: {
                const size_t index = pick();
                const auto edge = random() % 2 ? CueEditor::Edge::Start : CueEditor::Edge::End;
                result = editor.moveEdge(index, edge, frame());
                break;
            }
            case 2:
                result = editor.rename(pick(), "n" + std::to_string(step));
                break;
            case 3:
                result = editor.setNote(pick(), "note");
                break;
            default:
                result = count > 1 ? editor.remove(pick()) : Result::failure("keep one");
                break;
        }
        if (result.ok() && editor.cues() != history.back()) {
            history.push_back(editor.cues());
        }
    }
    ASSERT_GT(history.size(), 101u);
    for (size_t back = 1; back <= 100; ++back) {
        ASSERT_TRUE(editor.undo());
        ASSERT_EQ(editor.cues(), history[history.size() - 1 - back]) << back << " steps back";
    }
    for (size_t forward = 100; forward > 0; --forward) {
        ASSERT_TRUE(editor.redo());
    }
    EXPECT_EQ(editor.cues(), history.back());
    // Identifiers stay unique and non-zero.
    std::vector<uint32_t> ids;
    for (const CuePoint& cue : editor.cues()) {
        ids.push_back(cue.identifier);
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_NE(ids.front(), 0u);
}

TEST(CueEditorTest, EditsKeepRegionsInsideTheData) {
    const AudioDocument doc = sineLikeDocument();
    CueEditor editor;
    editor.reset({{1, 10, 0, "end", ""}}, doc.frameCount);
    struct Case {
        const char* name;
        std::function<Result()> edit;
        CuePoint last;
    } cases[] = {
        {"snapped to rising zero crossings",
         [&] { return editor.addRegion(doc, 130, 260, "z", true); },
         {2, 200, 100, "z", ""}},
        {"end beyond the data is cut",
         [&] { return editor.addRegion(doc, 900, 5000, "c", false); },
         {3, 900, 100, "c", ""}},
        {"start moved past the end stops a frame before it",
         [&] { return editor.moveEdge(2, CueEditor::Edge::Start, 2000); },
         {3, 999, 1, "c", ""}},
        {"end moved before the start stops a frame after it",
         [&] { return editor.moveEdge(1, CueEditor::Edge::End, 0); },
         {2, 200, 1, "z", ""}},
        {"a region to the end stays one when its start moves",
         [&] { return editor.moveEdge(0, CueEditor::Edge::Start, 40); },
         {1, 40, 0, "end", ""}},
        {"a point stays a point at the cursor",
         [&] { return editor.addPoint(700, "p"); },
         {4, 700, 0, "p", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.edit().ok());
        const auto& cues = editor.cues();
        const auto it = std::find_if(cues.begin(), cues.end(), [&](const CuePoint& cue) {
            return cue.identifier == c.last.identifier;
        });
        ASSERT_NE(it, cues.end());
        EXPECT_EQ(*it, c.last);
    }
    EXPECT_EQ(editor.undoName(), "Add Point");
    EXPECT_FALSE(editor.addPoint(1000, "past the end").ok());
    EXPECT_FALSE(editor.addRegion(doc, 500, 500, "", false).ok());
    EXPECT_FALSE(editor.remove(9).ok());
}

// A border two regions share moves for both as one step, no further than either allows.
TEST(CueEditorTest, SharedBorderMovesBothRegionsAsOneStep) {
    const struct {
        int64_t frame;
        uint32_t border;  // where the border lands
    } cases[] = {{250, 250}, {90, 101}, {2000, 399}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        CueEditor editor;
        const std::vector<CuePoint> before = {{1, 100, 100, "a", ""}, {2, 200, 200, "b", ""}};
        editor.reset(before, 1000);
        ASSERT_TRUE(
            editor.moveEdges({{0, CueEditor::Edge::End}, {1, CueEditor::Edge::Start}}, c.frame)
                .ok());
        EXPECT_EQ(editor.cues()[0].position + editor.cues()[0].length, c.border);
        EXPECT_EQ(editor.cues()[1].position, c.border);
        EXPECT_EQ(editor.cues()[1].position + editor.cues()[1].length, 400u);
        EXPECT_EQ(editor.undoName(), "Move Edge");
        ASSERT_TRUE(editor.undo());
        EXPECT_EQ(editor.cues(), before);
        EXPECT_FALSE(editor.canUndo());
    }
}

}  // namespace
}  // namespace murmelix
