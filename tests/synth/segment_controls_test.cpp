#include "synth/segment_controls.h"

#include <gtest/gtest.h>

#include "synth_fixtures.h"

namespace murmelix {
namespace {

using testing::makeSilentDocument;

TEST(SegmentControlsTest, MillisecondsBecomeTruncatedFramesCappedAtTheDocument) {
    struct Case {
        int rate, frames, ms, expected;
    } cases[] = {
        {8000, 100000, 80, 640},
        {44100, 100000, 1, 44},
        {11025, 100000, 1, 11},
        {8000, 500, 80, 500},
        {8000, 100000, 10000, 80000},
        {999, 100000, 1, 0},
        {44100, 441000000 / 100, 10000, 441000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rate << " Hz, " << c.ms << " ms");
        const AudioDocument doc = makeSilentDocument(c.frames, c.rate);
        SegmentControls controls;
        controls.durationMs = c.ms;
        controls.duration2Ms = c.ms;
        controls.deriveLengths(doc);
        EXPECT_EQ(controls.minimumLength, c.expected);
        EXPECT_EQ(controls.maximumLength, c.expected);
    }
}

TEST(SegmentControlsTest, SpinEditRaisesToOneAndStepsByOneBelowTen) {
    struct Case {
        int typed, value, step;
    } cases[] = {{0, 1, 1}, {-5, 1, 1}, {1, 1, 1}, {9, 9, 1}, {10, 10, 10}, {80, 80, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const SpinEditValue v = SegmentControls::adjustSpinEdit(c.typed);
        EXPECT_EQ(v.value, c.value);
        EXPECT_EQ(v.step, c.step);
    }
}

TEST(SegmentControlsTest, EnablingFollowsCheckBoxesAndTransportMode) {
    using E = SegmentControlsEnabling;
    struct Case {
        bool cue, fade, to;
        TransportMode mode;
        E expected;  // segTo, overlap, zeroCross, crossFade, useCueList, duration, duration2
    } cases[] = {
        {false, false, false, TransportMode::tmIdle, {true, true, true, true, true, true, false}},
        {false, false, true, TransportMode::tmIdle, {true, true, true, true, true, true, true}},
        {true, false, true, TransportMode::tmIdle, {false, false, true, false, true, false, false}},
        {false, true, true, TransportMode::tmIdle, {false, true, false, true, false, true, false}},
        {false,
         false,
         true,
         TransportMode::tmRandomPlay,
         {true, true, true, true, false, true, true}},
        {true,
         false,
         false,
         TransportMode::tmRandomPlay,
         {false, false, true, false, false, false, false}},
        {false, false, true, TransportMode::tmPlay, {}},
        {false, false, true, TransportMode::tmSessionPlay, {}},
        {false, false, true, TransportMode::tmRecord, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "cue " << c.cue << " fade " << c.fade << " to " << c.to
                                          << " mode " << static_cast<int>(c.mode));
        SegmentControls controls;
        controls.useCueList = c.cue;
        controls.crossFade = c.fade;
        controls.segTo = c.to;
        EXPECT_EQ(controls.enabling(c.mode), c.expected);
    }
}

}  // namespace
}  // namespace murmelix
