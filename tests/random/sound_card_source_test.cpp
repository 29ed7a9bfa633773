#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "random/random_source.h"
#include "random/source_harness.h"

namespace murmelix {
namespace {

using testing::ScriptedNoiseInput;
using testing::SourceHarness;

ScriptedNoiseInput::Take fullTake(int16_t first = 0) {
    ScriptedNoiseInput::Take take;
    take.samples.resize(NoiseBuffer::kCapacity);
    for (size_t i = 0; i < take.samples.size(); ++i) {
        take.samples[i] = static_cast<int16_t>(first + static_cast<int>(i % 1000));
    }
    return take;
}

void selectSoundCard(SourceHarness& h, AudioDocument& document, uint32_t documentRate,
                     bool bestRate) {
    document.format.samplesPerSec = documentRate;
    h.source.setDocument(&document);
    h.source.setRecordBestRate(bestRate);
    h.source.SelectRandomSource(1, "", false);
}

TEST(SoundCardSource, RecordingRate) {
    struct Case {
        const char* name;
        bool bestRate;
        uint32_t documentRate;
        std::set<uint32_t> refused;
        std::vector<std::string> calls;
        const char* caption;  // during the recording; empty when it never starts
        std::string error;    // "Record In Error" text
    };
    const Case cases[] = {
        {"best rate",
         true,
         22050,
         {},
         {"query 44100", "start 44100", "wait", "finish"},
         "Recording (44100 Hz, 16 bit) ...",
         ""},
        {"document rate",
         false,
         22050,
         {},
         {"query 22050", "start 22050", "wait", "finish"},
         "Recording (22050 Hz, 16 bit) ...",
         ""},
        {"no document: best rate anyway",
         false,
         0,
         {},
         {"query 44100", "start 44100", "wait", "finish"},
         "Recording (44100 Hz, 16 bit) ...",
         ""},
        {"best rate refused: document rate",
         true,
         11025,
         {44100},
         {"query 44100", "query 11025", "start 11025", "wait", "finish"},
         "Recording (11025 Hz, 16 bit) ...",
         ""},
        {"both refused",
         true,
         11025,
         {44100, 11025},
         {"query 44100", "query 11025"},
         "",
         "refused 11025"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SourceHarness h;
        AudioDocument document;
        h.input.refusedRates = c.refused;
        h.input.takes.push_back(fullTake());
        selectSoundCard(h, document, c.documentRate, c.bestRate);
        h.draw(1, 10);
        EXPECT_EQ(h.input.calls, c.calls);
        if (*c.caption != '\0') {
            EXPECT_EQ(h.ui.captions, (std::vector<std::string>{c.caption, "Murmelix"}));
            EXPECT_TRUE(h.ui.messages.empty());
            EXPECT_EQ(h.logged.size(), 1u);
        } else {
            EXPECT_TRUE(h.ui.captions.empty());
            ASSERT_EQ(h.ui.messages.size(), 1u);
            EXPECT_EQ(h.ui.messages[0].caption, "Record In Error");
            EXPECT_EQ(h.ui.messages[0].text, c.error);
            EXPECT_EQ(h.ui.messages[0].icon, MessageIcon::Error);
            EXPECT_TRUE(h.source.halted());
            EXPECT_TRUE(h.logged.empty());
        }
    }
}

TEST(SoundCardSource, FormatBlockAndDevice) {
    SourceHarness h;
    AudioDocument document;
    h.source.setInputDevice(3);
    h.input.takes.push_back(fullTake());
    selectSoundCard(h, document, 0, true);
    h.draw(1, 10);
    ASSERT_EQ(h.input.formats.size(), 2u);
    for (const WaveFormat& format : h.input.formats) {
        EXPECT_EQ(format.formatTag, 1);
        EXPECT_EQ(format.channels, 1);
        EXPECT_EQ(format.samplesPerSec, 44100u);
        EXPECT_EQ(format.avgBytesPerSec, 88200u);
        EXPECT_EQ(format.blockAlign, 2);
        EXPECT_EQ(format.bitsPerSample, 16);
        EXPECT_EQ(format.extraSize, 0);
    }
    EXPECT_EQ(h.input.devices, (std::vector<int>{3, 3}));
    EXPECT_EQ(h.input.bufferSizes, (std::vector<size_t>{10240}));
    EXPECT_EQ(h.input.timeLimits,
              (std::vector<std::chrono::milliseconds>{std::chrono::seconds(5)}));
}

TEST(SoundCardSource, ShortOrMissingRecordings) {
    struct Case {
        const char* name;
        size_t samples;
        bool timedOut;
        std::string startError;
        bool fails;
        int32_t fillCount;
    };
    const Case cases[] = {
        {"nothing", 0, false, "", true, 0},
        {"31 samples", 31, false, "", true, 0},
        {"32 samples", 32, false, "", false, 32},
        {"100 samples: cut to whole groups", 100, false, "", false, 96},
        {"time limit passed with a part of the buffer", 5000, true, "", true, 0},
        {"device cannot start", 10240, false, "device busy", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SourceHarness h;
        AudioDocument document;
        ScriptedNoiseInput::Take take = fullTake();
        take.samples.resize(c.samples);
        take.timedOut = c.timedOut;
        h.input.takes.push_back(take);
        h.input.startError = c.startError;
        selectSoundCard(h, document, 0, true);
        h.draw(1, 10);
        EXPECT_EQ(h.source.halted(), c.fails);
        EXPECT_EQ(h.source.noise().fillCount(), c.fillCount);
        if (!c.fails) {
            EXPECT_EQ(h.logged.size(), 1u);
            EXPECT_TRUE(h.ui.messages.empty());
            continue;
        }
        EXPECT_TRUE(h.logged.empty());
        ASSERT_EQ(h.ui.messages.size(), 1u);
        if (c.startError.empty()) {
            EXPECT_EQ(h.ui.messages[0].caption, "Error");
            EXPECT_EQ(h.ui.messages[0].text, "Couldn't read any wave data from the sound card.");
            EXPECT_EQ(h.ui.captions.back(), "Murmelix") << "caption restored";
            EXPECT_EQ(h.input.calls.back(), "finish");
        } else {
            EXPECT_EQ(h.ui.messages[0].caption, "Record In Error");
            EXPECT_EQ(h.ui.messages[0].text, c.startError);
            EXPECT_TRUE(h.ui.captions.empty());
        }
    }
}

TEST(SoundCardSource, FillsPerDraw) {
    struct Case {
        bool absolute;
        int draws;
        size_t recordings;
    };
    const Case cases[] = {
        {false, 320, 1},
        {false, 321, 2},
        {true, 10240, 1},
        {true, 10241, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.draws);
        SourceHarness h;
        AudioDocument document;
        h.input.takes.push_back(fullTake(0));
        h.input.takes.push_back(fullTake(-500));
        h.source.setUseAbsolute(c.absolute);
        selectSoundCard(h, document, 0, true);
        h.draw(c.draws, 10);
        EXPECT_EQ(h.input.bufferSizes.size(), c.recordings);
        EXPECT_EQ(h.logged.size(), static_cast<size_t>(c.draws));
    }
}

TEST(SoundCardSource, NoiseLeftForTheNextRun) {
    struct Case {
        bool recordNew;
        RandomSourceKind kind;
        bool discarded;
    };
    const Case cases[] = {
        {true, RandomSourceKind::SoundCard, true},
        {false, RandomSourceKind::SoundCard, false},
        {true, RandomSourceKind::File, false},  // only the sound card records anew
    };
    for (const auto& c : cases) {
        SourceHarness h;
        AudioDocument document;
        h.input.takes.push_back(fullTake());
        selectSoundCard(h, document, 0, true);
        h.draw(5, 10);
        h.source.setRecordNew(c.recordNew);
        if (c.kind == RandomSourceKind::File) {
            h.source.SelectRandomSource(2, "/none.pcm", false);
            h.source.SelectRandomSource(1, "", false);  // emptied by the selection itself
            h.input.takes.push_back(fullTake());
            h.draw(5, 10);
            h.source.SelectRandomSource(2, "/none.pcm", false);
        }
        const int32_t remaining = h.source.noise().remaining();
        h.source.setHalted(true);
        h.source.beginRun();
        EXPECT_FALSE(h.source.halted());
        EXPECT_EQ(h.source.noise().remaining(), c.discarded ? 0 : remaining);
    }
}

}  // namespace
}  // namespace murmelix
