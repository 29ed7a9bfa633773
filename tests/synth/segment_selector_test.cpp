#include "synth/segment_selector.h"

#include <gtest/gtest.h>

#include "support/scripted_user_interface.h"
#include "synth_fixtures.h"

namespace murmelix {
namespace {

using testing::makeDocument;
using testing::makeSilentDocument;
using testing::ScriptedDraw;
using testing::ScriptedUserInterface;

SegmentControls durationControls(int32_t minimum, int32_t maximum, bool to, bool overlap,
                                 bool fade = false) {
    SegmentControls c;
    c.minimumLength = minimum;
    c.maximumLength = maximum;
    c.segTo = to;
    c.overlap = overlap;
    c.crossFade = fade;
    c.zeroCrossAdjust = false;
    return c;
}

TEST(SegmentSelectorTest, DurationModeDrawsLengthThenStartWithTheRightBounds) {
    const AudioDocument doc = makeSilentDocument(10000);
    struct Case {
        const char* name;
        SegmentControls controls;
        std::deque<int32_t> draws;
        std::vector<int32_t> bounds;
        SegmentChoice expected;
        int32_t count;
    } cases[] = {
        {"fixed, grid",
         durationControls(640, 960, false, false),
         {1300},
         {9360},
         {1280, 640, 2},
         15},
        {"fixed, overlap",
         durationControls(640, 960, false, true),
         {1300},
         {9360},
         {1300, 640, 2},
         15},
        {"varied min<max",
         durationControls(640, 960, true, true),
         {319, 100},
         {320, 10000 - 959},
         {100, 959, 0},
         10},
        {"varied min>max",
         durationControls(960, 640, true, true),
         {319, 5000},
         {320, 10000 - 1279},
         {5000, 1279, 3},
         7},
        {"varied equal",
         durationControls(700, 700, true, false),
         {1500},
         {9300},
         {1400, 700, 2},
         14},
        {"x-fade ignores To, k=2",
         durationControls(640, 960, true, true, true),
         {9000},
         {10000 - 1280},
         {9000, 640, 14},
         15},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        SegmentSelector selector;
        ScriptedUserInterface ui;
        ASSERT_TRUE(selector.startRun(doc, c.controls, ui));
        ScriptedDraw draw(c.draws);
        EXPECT_EQ(selector.chooseSegment(doc, c.controls, draw), c.expected);
        EXPECT_EQ(draw.bounds, c.bounds);
        EXPECT_EQ(selector.segmentCount(), c.count);
    }
}

TEST(SegmentSelectorTest, NoRoomForASegmentStartsAtZeroWithoutDrawing) {
    const AudioDocument doc = makeSilentDocument(500);
    SegmentControls controls = durationControls(500, 500, false, false);
    SegmentSelector selector;
    ScriptedDraw draw;
    EXPECT_EQ(selector.chooseSegment(doc, controls, draw), (SegmentChoice{0, 500, 0}));
    EXPECT_TRUE(draw.bounds.empty());

    controls = durationControls(300, 300, false, true, true);  // x-fade needs 600 frames
    EXPECT_EQ(selector.chooseSegment(doc, controls, draw), (SegmentChoice{0, 300, 0}));
    EXPECT_TRUE(draw.bounds.empty());
}

TEST(SegmentSelectorTest, ZeroCrossingMovesStartAndEndForward) {
    //                              0   1   2  3   4  5  6   7   8   9  10 11
    const AudioDocument doc = makeDocument({5, 4, -3, -2, 0, 7, 8, -1, -4, 2, 3, 3});
    struct Case {
        int32_t first, expected;
    } cases[] = {
        {0, 0},    // frame 0 with a non-negative sample and previous 0
        {1, 4},    // mid positive half-wave: first >= 0 after <= 0
        {4, 4},    // already on a crossing
        {5, 5},    // previous frame 4 holds 0, so 5 is itself a rising crossing
        {6, 9},    // falls through -1, -4 to the rise at 9
        {10, 10},  // no crossing later: unchanged
        {12, 12},  // the end of the data
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(SegmentSelector::findZeroCrossing(doc, c.first), c.expected);
    }

    SegmentControls controls = durationControls(4, 4, false, true);
    controls.zeroCrossAdjust = true;
    SegmentSelector selector;
    ScriptedDraw draw({1});
    // start 1 -> 4; end 4 + 4 = 8 -> 9 (after -4 comes 2); length 5
    EXPECT_EQ(selector.chooseSegment(doc, controls, draw), (SegmentChoice{4, 5, 0}));
}

TEST(SegmentSelectorTest, ZeroCrossingIsSkippedUnderCrossFade) {
    const AudioDocument doc = makeDocument({5, 4, -3, -2, 0, 7, 8, -1, -4, 2, 3, 3});
    SegmentControls controls = durationControls(3, 3, false, true, true);
    controls.zeroCrossAdjust = true;
    SegmentSelector selector;
    ScriptedDraw draw({1});
    EXPECT_EQ(selector.chooseSegment(doc, controls, draw), (SegmentChoice{1, 3, 0}));
}

TEST(SegmentSelectorTest, CueModeUsesRegionsCutAtTheData) {
    AudioDocument doc = makeSilentDocument(5000);
    doc.cues = {{1, 1000, 0, "a", ""},
                {2, 200, 300, "b", ""},
                {3, 4800, 900, "c", ""},
                {4, 7000, 10, "d", ""}};
    SegmentControls controls;
    controls.useCueList = true;
    controls.zeroCrossAdjust = false;
    SegmentSelector selector;
    ScriptedUserInterface ui;
    ASSERT_TRUE(selector.startRun(doc, controls, ui));
    EXPECT_TRUE(selector.cueMode());
    ScriptedDraw draw({0, 1, 2, 3});
    EXPECT_EQ(selector.chooseSegment(doc, controls, draw), (SegmentChoice{1000, 4000, 0}));
    EXPECT_EQ(selector.chooseSegment(doc, controls, draw), (SegmentChoice{200, 300, 1}));
    EXPECT_EQ(selector.chooseSegment(doc, controls, draw), (SegmentChoice{4800, 200, 2}));
    EXPECT_EQ(selector.chooseSegment(doc, controls, draw), (SegmentChoice{5000, 0, 3}));
    EXPECT_EQ(draw.bounds, (std::vector<int32_t>{4, 4, 4, 4}));
    EXPECT_EQ(selector.segmentCount(), 4);
}

TEST(SegmentSelectorTest, RunsThatCannotWorkAreRefusedWithAMessage) {
    ScriptedUserInterface ui;
    SegmentSelector selector;
    SegmentControls controls;
    controls.useCueList = true;
    AudioDocument doc = makeSilentDocument(1000);
    EXPECT_FALSE(selector.startRun(doc, controls, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text,
              "Murmelix can't proceed because you have\nchecked the \"Use Cue List\" option, "
              "but\nthere are no Cues defined in the WAV file.");

    controls.useCueList = false;
    controls.minimumLength = 0;
    EXPECT_FALSE(selector.startRun(doc, controls, ui));
    EXPECT_EQ(ui.messages.size(), 2u);
}

}  // namespace
}  // namespace murmelix
