#include "synth/synthesizer.h"

#include <gtest/gtest.h>

#include "support/scripted_user_interface.h"
#include "synth_fixtures.h"

namespace murmelix {
namespace {

using testing::makeDocument;
using testing::makeSilentDocument;
using testing::ScriptedDraw;
using testing::ScriptedUserInterface;

struct RandomRun {
    AudioDocument doc = makeSilentDocument(10000);
    SegmentControls controls;
    SegmentSelector selector;
    ScriptedDraw draw;
    Session session;
    Synthesizer synth;

    RandomRun() {
        controls.minimumLength = 100;
        controls.maximumLength = 100;
        controls.zeroCrossAdjust = false;
    }
    Synthesizer::RandomFillContext context() { return {controls, selector, draw, session}; }
};

TEST(SynthesizerTest, RandomFillPointsIntoTheSamplesAndRecordsEntries) {
    RandomRun run;
    run.draw = ScriptedDraw({250, 1234});
    run.session.appendSequence(SEQUENCE{});
    run.session.recordingActive = true;
    ScriptedUserInterface ui;
    ASSERT_TRUE(run.selector.startRun(run.doc, run.controls, ui));
    run.synth.beginRandomRun();
    ASSERT_TRUE(run.synth.randomFill(run.doc, run.context()));
    const Synthesizer::Slot& slot = run.synth.slot(0);
    EXPECT_EQ(slot.data, run.doc.data.data() + 200 * 2);
    EXPECT_EQ(slot.length, 200u);
    EXPECT_EQ(slot.user, 2);
    EXPECT_TRUE(slot.mixed.empty()) << "a plain segment is not copied";
    run.synth.advance();
    ASSERT_TRUE(run.synth.randomFill(run.doc, run.context()));
    EXPECT_EQ(run.synth.queuedCount(), 2);
    EXPECT_EQ(run.synth.generatedCount(), 2);
    const auto& entries = run.session.last()->entries;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (SEGMENT{200, 100, 1, 2, "", false}));
    EXPECT_EQ(entries[1], (SEGMENT{1200, 100, 2, 12, "", false}));
    EXPECT_TRUE(run.session.changed);
}

TEST(SynthesizerTest, CrossFadeCopiesOnlyOutsideCueModeAndCueLabelsAreRecorded) {
    RandomRun run;
    run.controls.crossFade = true;
    run.session.appendSequence(SEQUENCE{});
    run.session.recordingActive = true;
    run.synth.beginRandomRun();
    ASSERT_TRUE(run.synth.randomFill(run.doc, run.context()));
    EXPECT_EQ(run.synth.slot(0).mixed.size(), 200u);
    EXPECT_EQ(run.synth.slot(0).data, run.synth.slot(0).mixed.data());
    EXPECT_TRUE(run.session.last()->entries.back().fade);

    // Stored settings can combine cue mode with X-Fade: the segment is played as it is.
    run.doc.cues = {{7, 3000, 50, "word", ""}};
    run.controls.useCueList = true;
    ScriptedUserInterface ui;
    ASSERT_TRUE(run.selector.startRun(run.doc, run.controls, ui));
    run.synth.advance();
    ASSERT_TRUE(run.synth.randomFill(run.doc, run.context()));
    EXPECT_TRUE(run.synth.slot(1).mixed.empty());
    EXPECT_EQ(run.session.last()->entries.back(), (SEGMENT{3000, 50, 2, 0, "word", false}));
}

// A draw that raises the halt flag, as a random source does when its file ends.
class HaltingDraw : public RandomDraw {
  public:
    int32_t next(int32_t) override {
        halted_ = true;
        return 0;
    }
    bool halted() const override { return halted_; }

  private:
    bool halted_ = false;
};

TEST(SynthesizerTest, HaltDuringDrawsStillQueuesButDoesNotRecordAndHaltFillsNothing) {
    RandomRun run;
    run.session.appendSequence(SEQUENCE{});
    run.session.recordingActive = true;
    HaltingDraw halting;
    Synthesizer::RandomFillContext context{run.controls, run.selector, halting, run.session};
    run.synth.beginRandomRun();
    EXPECT_TRUE(run.synth.randomFill(run.doc, context));
    EXPECT_EQ(run.synth.queuedCount(), 1);
    EXPECT_TRUE(run.session.last()->entries.empty());
    EXPECT_FALSE(run.synth.randomFill(run.doc, context));
    EXPECT_EQ(run.synth.queuedCount(), 1);
}

TEST(SynthesizerTest, SessionFillWalksEntriesAcrossSequencesSkippingEmptyOnes) {
    const AudioDocument doc = makeSilentDocument(1000);
    Session session;
    SEQUENCE a, empty, b;
    a.entries = {{0, 10, 1, 5, "", false}, {10, 10, 2, 6, "", false}, {20, 10, 3, 7, "", true}};
    // Entries of a file edited since: cut to the data, as an export cuts them.
    b.entries = {
        {990, 50, 1, 9, "", false}, {2000, 10, 2, 10, "", false}, {-5, 10, 3, 11, "", false}};
    session.appendSequence(a);
    session.appendSequence(empty);
    session.appendSequence(b);
    struct Case {
        const char* name;
        int first, count;
        std::vector<int32_t> users;
        std::vector<uint32_t> lengths;
    } cases[] = {
        {"one sequence", 0, 1, {5, 6, 7}, {20, 20, 20}},
        {"whole session", 0, 3, {5, 6, 7, 9, 10, 11}, {20, 20, 20, 20, 0, 10}},
        {"empty sequence alone", 1, 1, {}, {}},
        {"count beyond the list", 2, 5, {9, 10, 11}, {20, 0, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Synthesizer synth;
        auto first = std::next(session.sequences().begin(), c.first);
        synth.beginSessionRun(session, first, c.count);
        std::vector<int32_t> users;
        std::vector<uint32_t> lengths;
        for (int i = 0; i < Synthesizer::kSlots && synth.sessionFill(doc); ++i) {
            users.push_back(synth.current().user);
            lengths.push_back(synth.current().length);
            synth.advance();
        }
        EXPECT_EQ(users, c.users);
        EXPECT_EQ(lengths, c.lengths);
        EXPECT_EQ(synth.queuedCount(), static_cast<int32_t>(c.users.size()));
        EXPECT_EQ(synth.sequencesLeft(), 0);
    }
}

}  // namespace
}  // namespace murmelix
