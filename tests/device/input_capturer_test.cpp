#include "device/input_capturer.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/pcm_codec.h"
#include "device_test_signals.h"

namespace murmelix {
namespace {

using testing::toneFrequency;

// Stream frames of a tone, as the sound system would deliver them.
std::vector<float> streamTone(double frequency, double rate, size_t frames, int channels) {
    std::vector<float> out;
    const double pi = std::acos(-1.0);
    for (size_t f = 0; f < frames; ++f) {
        const auto value = static_cast<float>(0.5 * std::sin(2 * pi * frequency * f / rate));
        out.insert(out.end(), static_cast<size_t>(channels), value);
    }
    return out;
}

struct Rig {
    DoneQueue done{256};
    InputCapturer capturer{done, 256};
    std::vector<WaveBuffer*> back;

    void feed(const std::vector<float>& frames, int channels, size_t period = 441) {
        const size_t count = frames.size() / static_cast<size_t>(channels);
        for (size_t at = 0; at < count; at += period) {
            capturer.capture(frames.data() + at * static_cast<size_t>(channels),
                             std::min(period, count - at));
        }
        done.drain(back);
    }
};

TEST(InputCapturerTest, RecordingAtTheStreamRateKeepsTheSamplesExactly) {
    const struct {
        const char* name;
        WaveFormat format;
        int streamChannels;
    } cases[] = {
        {"16-bit stereo from stereo", WaveFormat::pcm(44100, 2, 16), 2},
        {"16-bit mono from mono", WaveFormat::pcm(44100, 1, 16), 1},
        {"8-bit mono from mono", WaveFormat::pcm(44100, 1, 8), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        ASSERT_TRUE(rig.capturer.configure(c.format, 44100, c.streamChannels));
        // Samples that are exact in the recorded width.
        std::vector<float> stream;
        const float step = c.format.bitsPerSample == 8 ? 1.0f / 128 : 1.0f / 32768;
        for (int i = 0; i < 3000 * c.streamChannels; ++i) {
            stream.push_back(static_cast<float>((i * 37) % 200 - 100) * step);
        }
        std::vector<uint8_t> expected(3000 * c.format.blockAlign);
        PcmCodec::encode(stream.data(), 3000, c.format.channels, c.format.bitsPerSample,
                         expected.data());
        std::vector<uint8_t> recorded(expected.size());
        WaveBuffer buffer;
        buffer.recordData = recorded.data();
        buffer.length = static_cast<uint32_t>(recorded.size());
        rig.capturer.submit(&buffer);
        rig.feed(stream, c.streamChannels);
        ASSERT_EQ(rig.back.size(), 1u);
        EXPECT_EQ(buffer.bytesRecorded, buffer.length);
        EXPECT_EQ(recorded, expected);
    }
}

TEST(InputCapturerTest, ConvertsRateAndChannelsAndFillsBuffersInOrder) {
    const struct {
        const char* name;
        WaveFormat format;
        double streamRate;
        int streamChannels;
    } cases[] = {
        {"22050 mono 16-bit from 44100 stereo", WaveFormat::pcm(22050, 1, 16), 44100, 2},
        {"8000 stereo 8-bit from 48000 stereo", WaveFormat::pcm(8000, 2, 8), 48000, 2},
        {"48000 mono 16-bit from 44100 mono", WaveFormat::pcm(48000, 1, 16), 44100, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        ASSERT_TRUE(rig.capturer.configure(c.format, c.streamRate, c.streamChannels));
        // Ten blocks of 100 ms; a second of tone fills all of them but the converter's delay.
        const size_t blockBytes = c.format.samplesPerSec / 10 * c.format.blockAlign;
        std::vector<std::vector<uint8_t>> data(10, std::vector<uint8_t>(blockBytes));
        std::vector<WaveBuffer> buffers(10);
        for (size_t i = 0; i < 10; ++i) {
            buffers[i].recordData = data[i].data();
            buffers[i].length = static_cast<uint32_t>(blockBytes);
            buffers[i].user = static_cast<int64_t>(i);
            rig.capturer.submit(&buffers[i]);
        }
        rig.feed(streamTone(1000, c.streamRate, static_cast<size_t>(c.streamRate * 1.05),
                            c.streamChannels),
                 c.streamChannels);
        ASSERT_EQ(rig.back.size(), 10u);
        std::vector<uint8_t> all;
        for (size_t i = 0; i < 10; ++i) {
            EXPECT_EQ(rig.back[i]->user, static_cast<int64_t>(i));
            EXPECT_EQ(rig.back[i]->bytesRecorded, blockBytes);
            all.insert(all.end(), data[i].begin(), data[i].end());
        }
        const size_t frames = all.size() / c.format.blockAlign;
        std::vector<float> samples(frames * c.format.channels);
        PcmCodec::decode(all.data(), frames, c.format.channels, c.format.bitsPerSample,
                         samples.data());
        EXPECT_NEAR(toneFrequency(samples, c.format.channels, c.format.samplesPerSec), 1000.0, 3.0);
    }
}

TEST(InputCapturerTest, ReturnAllNowGivesBackThePartlyFilledBufferWithItsBytes) {
    Rig rig;
    const WaveFormat format = WaveFormat::pcm(44100, 1, 16);
    ASSERT_TRUE(rig.capturer.configure(format, 44100, 1));
    std::vector<uint8_t> data(3 * 8820);
    WaveBuffer buffers[3];
    for (int i = 0; i < 3; ++i) {
        buffers[i].recordData = data.data() + i * 8820;
        buffers[i].length = 8820;  // 100 ms
        buffers[i].user = i;
        rig.capturer.submit(&buffers[i]);
    }
    rig.feed(streamTone(500, 44100, 6615, 1), 1);  // 150 ms
    ASSERT_EQ(rig.back.size(), 1u);
    rig.capturer.returnAllNow();
    rig.done.drain(rig.back);
    ASSERT_EQ(rig.back.size(), 3u);
    const uint32_t expected[3] = {8820, 4410, 0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.back[static_cast<size_t>(i)]->user, i);
        EXPECT_EQ(rig.back[static_cast<size_t>(i)]->bytesRecorded, expected[i]) << i;
    }
}

TEST(InputCapturerTest, CountsFramesLostWithoutABuffer) {
    Rig rig;
    ASSERT_TRUE(rig.capturer.configure(WaveFormat::pcm(44100, 1, 16), 44100, 2));
    std::vector<uint8_t> data(2000);
    WaveBuffer buffer;
    buffer.recordData = data.data();
    buffer.length = 2000;  // 1000 frames
    rig.capturer.submit(&buffer);
    rig.feed(streamTone(500, 44100, 4410, 2), 2);
    EXPECT_EQ(rig.back.size(), 1u);
    EXPECT_EQ(rig.capturer.overrunFrames(), 3410u);
}

}  // namespace
}  // namespace murmelix
