#include "audio/signal_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace murmelix {
namespace {

// A document holding the given samples (interleaved for stereo).
AudioDocument documentOf(uint16_t channels, uint16_t bits, const std::vector<int>& samples,
                         int32_t rate = 8000) {
    AudioDocument doc;
    doc.format = WaveFormat::pcm(static_cast<uint32_t>(rate), channels, bits);
    doc.data.assign(samples.size() * bits / 8, 0);
    doc.commit("s.wav");
    const SampleLayout sample{static_cast<int32_t>(bits / 8), bits};
    for (size_t j = 0; j < samples.size(); ++j) {
        sample.write(doc.data.data(), static_cast<int64_t>(j), samples[j]);
    }
    return doc;
}

std::vector<int> samplesOf(const AudioDocument& doc) {
    const SampleLayout sample{doc.bitsPerSample() / 8, doc.bitsPerSample()};
    std::vector<int> out;
    for (size_t j = 0; j < doc.data.size() * 8 / doc.bitsPerSample(); ++j) {
        out.push_back(sample.read(doc.data.data(), static_cast<int64_t>(j)));
    }
    return out;
}

TEST(SampleLayoutTest, EightBitSamplesCenterOn128AndWrapWithoutClipping) {
    const SampleLayout layout{1, 8};
    const std::vector<std::pair<uint8_t, int>> reads = {{0x80, 0}, {0xFF, 127}, {0x00, -128}};
    for (const auto& [stored, value] : reads) {
        EXPECT_EQ(layout.read(&stored, 0), value);
    }
    const std::vector<std::pair<int, uint8_t>> writes = {{127, 0xFF}, {-128, 0x00}, {200, 0x48}};
    for (const auto& [value, stored] : writes) {
        uint8_t byte = 0x11;
        layout.write(&byte, 0, value);
        EXPECT_EQ(byte, stored) << value;
    }
}

struct EffectCase {
    const char* name;
    uint16_t channels;
    uint16_t bits;
    std::vector<int> before;
    std::vector<int> after;
};

TEST(SignalEffectsTest, ReverseMirrorsFramesAndKeepsChannels) {
    const std::vector<EffectCase> cases = {
        {"16-bit stereo", 2, 16, {1, 10, 2, 20, 3, 30}, {3, 30, 2, 20, 1, 10}},
        {"8-bit mono odd count", 1, 8, {1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}},
        {"16-bit mono even count", 1, 16, {-1, 2, -3, 4}, {4, -3, 2, -1}},
        {"single frame", 2, 8, {7, -7}, {7, -7}},
        {"empty", 1, 16, {}, {}},
    };
    for (const EffectCase& c : cases) {
        SCOPED_TRACE(c.name);
        AudioDocument doc = documentOf(c.channels, c.bits, c.before);
        SignalEffects::reverse(doc);
        EXPECT_EQ(samplesOf(doc), c.after);
        EXPECT_TRUE(doc.changed);
        SignalEffects::reverse(doc);
        EXPECT_EQ(samplesOf(doc), c.before) << "reversing twice restores";
        EXPECT_TRUE(doc.changed);
    }
}

TEST(SignalEffectsTest, ReverseCountsFramesBackFromTheLastDataByte) {
    // 8-bit stereo, 9 data bytes: 4 frames, the odd byte sits at the front of the mirror.
    AudioDocument doc = documentOf(2, 8, {0, 1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(doc.frameCount, 4);
    SignalEffects::reverse(doc);
    EXPECT_EQ(samplesOf(doc), (std::vector<int>{7, 8, 5, 6, 4, 2, 3, 0, 1}));
}

struct EchoCase {
    const char* name;
    uint16_t channels;
    uint16_t bits;
    int rate;
    int delayMs;
    int decay;
    std::vector<int> before;
    std::vector<int> after;
};

TEST(SignalEffectsTest, EchoAddsDecayingRepeats) {
    const std::vector<EchoCase> cases = {
        {"decay 50, d = 2",
         1,
         16,
         1000,
         2,
         50,
         {1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {1000, 0, 500, 0, 250, 0, 125, 0, 62, 0, 31, 0, 15, 0, 7, 0, 3, 0, 1, 0, 0, 0}},
        {"truncation toward zero for negative products",
         1,
         16,
         1000,
         1,
         50,
         {-3, 0, 0},
         {-3, -1, 0}},
        {"decay 100 clips at 127 and -128",
         1,
         8,
         1000,
         1,
         100,
         {100, 100, -100, -100, -100},
         {100, 127, 27, -73, -128}},
        {"stereo channels echo separately",
         2,
         16,
         1000,
         1,
         50,
         {100, -200, 0, 0, 0, 0},
         {100, -200, 50, -100, 25, -50}},
        {"delay 0 scales every sample and clips",
         1,
         16,
         8000,
         0,
         100,
         {1, -3, 20000, -20000},
         {2, -6, 32767, -32768}},
        {"delay longer than the signal changes nothing",
         1,
         8,
         8000,
         1000,
         100,
         {5, 6, 7},
         {5, 6, 7}},
        {"decay 0 changes nothing", 1, 16, 1000, 1, 0, {9, 8, 7}, {9, 8, 7}},
        {"out-of-range parameters are held to the dialog's range",
         1,
         16,
         1000,
         -5,
         500,
         {10, 20},
         {20, 40}},
    };
    for (const EchoCase& c : cases) {
        SCOPED_TRACE(c.name);
        AudioDocument doc = documentOf(c.channels, c.bits, c.before, c.rate);
        SignalEffects::echo(doc, c.delayMs, c.decay);
        EXPECT_EQ(samplesOf(doc), c.after);
        EXPECT_TRUE(doc.changed);
    }
}

TEST(SignalEffectsTest, EchoLeavesTheFirstDelayUntouched) {
    std::vector<int> samples(2000);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int>(i % 200) - 100;
    }
    AudioDocument doc = documentOf(1, 8, samples, 8000);
    SignalEffects::echo(doc, 100, 50);  // d = 800 frames
    const std::vector<int> after = samplesOf(doc);
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + 800, samples.begin()));
    EXPECT_EQ(after[801], std::clamp(samples[801] + samples[1] * 50 / 100, -128, 127));
    EXPECT_NE(after[801], samples[801]);
}

// The echo written the plain way, one frame and one channel at a time through read/write.
void echoByFrames(AudioDocument& doc, int64_t d, int decay) {
    const int bits = doc.bitsPerSample();
    const int max = (1 << (bits - 1)) - 1;
    const int min = -(1 << (bits - 1));
    for (int64_t i = d; i < doc.frameCount; ++i) {
        for (int channel = 0; channel < doc.channels(); ++channel) {
            const int v = doc.read(channel, i) + doc.read(channel, i - d) * decay / 100;
            doc.write(channel, i, std::clamp(v, min, max));
        }
    }
}

TEST(SignalEffectsTest, EchoMatchesTheFrameByFrameDefinition) {
    std::mt19937 random(20240611);
    for (uint16_t bits : {8, 16}) {
        for (uint16_t channels : {1, 2}) {
            for (int delayMs : {0, 1, 3, 7, 50, 999}) {
                SCOPED_TRACE(::testing::Message()
                             << bits << " bit, " << channels << " ch, " << delayMs << " ms");
                std::uniform_int_distribution<int> value(-(1 << (bits - 1)), (1 << (bits - 1)) - 1);
                std::vector<int> samples(channels * 3001);
                for (int& s : samples) {
                    s = value(random);
                }
                AudioDocument fast = documentOf(channels, bits, samples, 1000);
                AudioDocument plain = fast;
                SignalEffects::echo(fast, delayMs, 73);
                echoByFrames(plain, delayMs, 73);
                EXPECT_EQ(fast.data, plain.data);
            }
        }
    }
}

struct NormalizeCase {
    const char* name;
    uint16_t channels;
    uint16_t bits;
    std::vector<int> before;
    std::vector<int> after;
    bool changes;
};

TEST(SignalEffectsTest, NormalizeScalesThePeakToFullRange) {
    const std::vector<NormalizeCase> cases = {
        {"16-bit, negative peak", 1, 16, {-16384, 8000, 0, 1}, {-32767, 15999, 0, 1}, true},
        {"16-bit stereo, positive peak", 2, 16, {100, -50, 3, 0}, {32767, -16383, 983, 0}, true},
        {"8-bit", 1, 8, {-64, 32, -1}, {-127, 63, -1}, true},
        {"8-bit full negative range", 1, 8, {-128, 64}, {-127, 63}, true},
        {"silence", 2, 16, {0, 0, 0, 0}, {0, 0, 0, 0}, false},
        {"no frames", 1, 16, {}, {}, false},
    };
    for (const NormalizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        AudioDocument doc = documentOf(c.channels, c.bits, c.before);
        EXPECT_EQ(SignalEffects::normalize(doc), c.changes);
        EXPECT_EQ(samplesOf(doc), c.after);
        EXPECT_EQ(doc.changed, c.changes);
    }
}

TEST(SignalEffectsTest, NormalizeOfLongSignalsMatchesDirectDivision) {
    std::mt19937 random(7);
    for (uint16_t bits : {8, 16}) {
        const int top = (1 << (bits - 1)) - 1;
        std::uniform_int_distribution<int> value(-top / 3, top / 5);
        std::vector<int> samples(200000);
        for (int& s : samples) {
            s = value(random);
        }
        AudioDocument doc = documentOf(2, bits, samples);
        ASSERT_TRUE(SignalEffects::normalize(doc));
        const auto [lo, hi] = std::minmax_element(samples.begin(), samples.end());
        const int peak = std::max(*hi, -*lo);
        std::vector<int> expected;
        for (int s : samples) {
            expected.push_back(s * top / peak);
        }
        EXPECT_EQ(samplesOf(doc), expected) << bits << " bit";
    }
}

TEST(SignalEffectsTest, EffectsOnlyTouchWholeFramesOfReadableWidths) {
    AudioDocument partial = documentOf(2, 16, {1000, 2000, 3000});  // one frame and a half
    partial.data.push_back(0x55);
    const std::vector<uint8_t> tail(partial.data.end() - 3, partial.data.end());
    SignalEffects::echo(partial, 0, 100);
    SignalEffects::normalize(partial);
    EXPECT_EQ(std::vector<uint8_t>(partial.data.end() - 3, partial.data.end()), tail);

    AudioDocument wide = documentOf(1, 16, {1, 2, 3});
    wide.format.bitsPerSample = 24;
    const std::vector<uint8_t> bytes = wide.data;
    SignalEffects::reverse(wide);
    SignalEffects::echo(wide, 0, 100);
    EXPECT_FALSE(SignalEffects::normalize(wide));
    EXPECT_EQ(wide.data, bytes);
}

}  // namespace
}  // namespace murmelix
