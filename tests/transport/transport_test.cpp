#include "transport/transport.h"

#include <gtest/gtest.h>

#include "transport_rig.h"

namespace murmelix {
namespace {

using testing::TransportRig;
using M = TransportMode;

SEQUENCE sequenceOf(int entries, int32_t firstStart, int32_t length) {
    SEQUENCE sequence;
    for (int i = 0; i < entries; ++i) {
        sequence.entries.push_back({firstStart + i * length, length, i + 1, 100 + i, "", false});
    }
    return sequence;
}

TEST(TransportTest, FilePlaysAsOneBufferAndStopReturnsIt) {
    struct Case {
        const char* name;
        int stopAfterMs;  // -1: let it end
        size_t playedBytes;
    } cases[] = {{"to the end", -1, 160000}, {"stopped", 1000, 16000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TransportRig rig;
        rig.transport.PlayWavFile();
        EXPECT_EQ(rig.transport.mode(), M::tmPlay);
        EXPECT_EQ(rig.device.calls().back(), "write 160000");
        if (c.stopAfterMs >= 0) {
            rig.run(c.stopAfterMs);
            rig.transport.StopPlayback();
            EXPECT_EQ(rig.transport.mode(), M::tmIdle);
            EXPECT_EQ(rig.host.modes.back(), M::tmPlay) << "commands wait for the buffer";
        }
        ASSERT_TRUE(rig.drain());
        EXPECT_EQ(rig.device.played().size(), c.playedBytes);
        EXPECT_FALSE(rig.device.isOpen());
        EXPECT_EQ(rig.host.modes, (std::vector<M>{M::tmPlay, M::tmIdle}));
        EXPECT_TRUE(rig.host.numbers.empty()) << "no feedback during file playback";
    }
}

TEST(TransportTest, OqtKeepsTwentyBuffersQueuedAndShowsEachSegmentAsItStarts) {
    TransportRig rig;
    rig.session.recordMode = true;
    rig.transport.MakeOqt();
    ASSERT_EQ(rig.transport.mode(), M::tmRandomPlay);
    EXPECT_EQ(rig.device.calls()[2], "pause");
    EXPECT_EQ(rig.device.queued(), 20u);
    EXPECT_EQ(rig.transport.synthesizer().generatedCount(), 20);
    rig.run(80 * 10 + 5);  // ten segments of 80 ms have played
    EXPECT_EQ(rig.device.queued(), 20u);
    EXPECT_EQ(rig.transport.synthesizer().generatedCount(), 30);
    rig.transport.StopPlayback();
    ASSERT_TRUE(rig.drain());
    // 30 generated, 19 never heard: 11 entries stay, numbered 1 to 11.
    const auto& entries = rig.session.last()->entries;
    ASSERT_EQ(entries.size(), 11u);
    EXPECT_EQ(entries.back().number, 11);
    // The feedback saw the first segment at the start, then each one as it began.
    ASSERT_GE(rig.host.numbers.size(), 11u);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(rig.host.numbers[i], entries[i].index) << i;
    }
    EXPECT_FALSE(rig.session.recordingActive);
    EXPECT_EQ(rig.host.modes, (std::vector<M>{M::tmRandomPlay, M::tmIdle}));
}

// The session keeps the segments that sounded: none when Stop comes before the first
// sample, the first one when Stop cuts it short.
TEST(TransportTest, StopWithinTheFirstSegmentKeepsWhatSounded) {
    const struct {
        uint64_t playedMs;
        int sequences;
    } cases[] = {{0, 0}, {10, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.playedMs);
        TransportRig rig;
        rig.session.recordMode = true;
        rig.transport.MakeOqt();
        rig.device.advance(c.playedMs);
        rig.transport.StopPlayback();
        ASSERT_TRUE(rig.drain());
        ASSERT_EQ(rig.session.count(), c.sequences);
        if (c.sequences > 0) {
            EXPECT_EQ(rig.session.last()->entries.size(), 1u);
        }
        EXPECT_EQ(rig.transport.heardCount(), c.sequences);
    }
}

TEST(TransportTest, TimedOqtArmsTheTimerAndPauseComesUpAtStop) {
    TransportRig rig;
    rig.transport.timedOqt = true;
    rig.transport.timedOqtSeconds = 15;
    rig.transport.MakeOqt();
    EXPECT_EQ(rig.host.timerMs, 15000);
    rig.transport.PauseContinue();
    EXPECT_TRUE(rig.transport.paused());
    EXPECT_TRUE(rig.device.paused());
    rig.transport.StopPlayback();  // the timer's tick
    EXPECT_FALSE(rig.transport.paused());
    EXPECT_EQ(rig.host.pausedShown, (std::vector<bool>{true, false}));
    EXPECT_EQ(rig.host.timerMs, -1);
    ASSERT_TRUE(rig.drain());
}

TEST(TransportTest, SessionPlayRunsSequencesBackToBackAndEndsByItself) {
    struct Case {
        const char* name;
        std::vector<int> entriesPerSequence;
        int first, count;
        size_t expectedBuffers;
    } cases[] = {
        {"three of 25", {25, 25, 25}, 0, 3, 75},
        {"one of 5", {5}, 0, 1, 5},
        {"current only", {25, 5, 25}, 1, 1, 5},
        {"empty ones skipped", {0, 4, 0, 3}, 0, 4, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TransportRig rig;
        for (int n : c.entriesPerSequence) {
            rig.session.appendSequence(sequenceOf(n, 0, 160));
        }
        rig.transport.PlaySequences(std::next(rig.session.sequences().begin(), c.first), c.count);
        ASSERT_EQ(rig.transport.mode(), M::tmSessionPlay);
        EXPECT_EQ(rig.device.queued(), std::min<size_t>(c.expectedBuffers, 20));
        ASSERT_TRUE(rig.drain());
        EXPECT_EQ(rig.device.played().size(), c.expectedBuffers * 320);
        EXPECT_EQ(rig.host.numbers.size(), c.expectedBuffers);
        EXPECT_EQ(rig.host.modes.back(), M::tmIdle);
    }

    TransportRig empty;
    empty.session.appendSequence(SEQUENCE{});
    empty.transport.PlaySequences(empty.session.sequences().begin(), 1);
    EXPECT_EQ(empty.transport.mode(), M::tmIdle);
    EXPECT_TRUE(empty.device.calls().empty()) << "an empty sequence never opens the device";
}

TEST(TransportTest, RefusedStartsLeaveEverythingAsItWas) {
    TransportRig noCues;
    noCues.controls.useCueList = true;
    noCues.transport.MakeOqt();
    EXPECT_EQ(noCues.ui.messages.size(), 1u);
    EXPECT_TRUE(noCues.device.calls().empty());
    EXPECT_TRUE(noCues.host.modes.empty());

    TransportRig noDevice;
    noDevice.device.failNextOpen(false, 4, "the device is busy");
    noDevice.transport.MakeOqt();
    ASSERT_EQ(noDevice.ui.messages.size(), 1u);
    EXPECT_EQ(noDevice.ui.messages[0].caption, "Wave Out Error");
    EXPECT_NE(noDevice.ui.messages[0].text.find("the device is busy"), std::string::npos)
        << noDevice.ui.messages[0].text;
    EXPECT_EQ(noDevice.transport.mode(), M::tmIdle);
    EXPECT_TRUE(noDevice.host.modes.empty());
}

TEST(TransportTest, SpeedOpensAtTheAdjustedRateAndLiveChangesGiveTheSliderSpeed) {
    TransportRig rig;
    rig.doc = testing::countingDocument(22050 * 4, 22050);
    rig.transport.SetPlaybackSpeed(150);
    EXPECT_TRUE(rig.device.calls().empty()) << "a change while idle waits for the next start";
    rig.transport.SetPlaybackSpeed(200);
    rig.transport.PlayWavFile();
    EXPECT_EQ(rig.device.calls()[0], "query -1 44100");
    EXPECT_EQ(rig.device.format().samplesPerSec, 44100u);
    EXPECT_EQ(rig.doc.fileSampleRate, 22050);
    rig.transport.StopPlayback();
    ASSERT_TRUE(rig.drain());

    rig.transport.SetPlaybackSpeed(150);
    rig.transport.MakeOqt();
    rig.transport.SetPlaybackSpeed(160);
    // 160 % of the file's rate on a device opened at 150 %: 160/150 of the opened rate.
    EXPECT_EQ(rig.device.playbackRate(), 160u * 65536u / 150u);
    rig.transport.StopPlayback();
    ASSERT_TRUE(rig.drain());
}

TEST(TransportTest, SoundThatDiesIsReportedAndTheSessionKeepsWhatItHad) {
    TransportRig rig;
    rig.session.recordMode = true;
    rig.transport.MakeOqt();
    rig.run(80 * 5 + 5);
    rig.device.die("Connection to the sound server was lost.");
    ASSERT_TRUE(rig.drain(1000)) << "no hang";
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].caption, "Wave Out Error");
    EXPECT_EQ(rig.ui.messages[0].text, "Connection to the sound server was lost.");
    ASSERT_EQ(rig.session.count(), 1);
    EXPECT_EQ(rig.session.last()->entries.size(), 6u);  // 25 generated - 19
    EXPECT_FALSE(rig.device.isOpen());
}

}  // namespace
}  // namespace murmelix
