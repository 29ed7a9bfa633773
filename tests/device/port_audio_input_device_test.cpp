#include "device/port_audio_input_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <deque>
#include <thread>
#include <vector>

#include "device/device_error.h"
#include "device/pcm_codec.h"
#include "device/port_audio_output_device.h"
#include "device_test_signals.h"
#include "sound_server_rig.h"

namespace murmelix {
namespace {

using std::chrono::milliseconds;
using testing::sineBytes;
using testing::toneFrequency;

// Records from the default input, which the test server makes the null sink's monitor,
// while a 1 kHz tone plays into the sink: blocks of 100 ms, two queued at a time and
// replaced as they come back, as the recorder does.
TEST(PortAudioInputDeviceTest, RecordsTheToneThatPlays) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const struct {
        const char* name;
        WaveFormat format;
    } cases[] = {
        {"22050 mono 16-bit", WaveFormat::pcm(22050, 1, 16)},
        {"44100 stereo 16-bit, the stream's own rate", WaveFormat::pcm(44100, 2, 16)},
        {"8000 mono 8-bit", WaveFormat::pcm(8000, 1, 8)},
    };
    const WaveFormat toneFormat = WaveFormat::pcm(44100, 1, 16);
    const auto tone = sineBytes(toneFormat, 1000.0, 44100 * 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PortAudioOutputDevice output;
        ASSERT_EQ(output.open(-1, toneFormat, false), 0);
        WaveBuffer toneBuffer;
        toneBuffer.data = tone.data();
        toneBuffer.length = static_cast<uint32_t>(tone.size());
        ASSERT_EQ(output.write(&toneBuffer), 0);
        std::this_thread::sleep_for(milliseconds(300));

        PortAudioInputDevice input;
        ASSERT_EQ(input.open(-1, c.format, true), 0);
        ASSERT_EQ(input.open(-1, c.format, false), 0);
        const uint32_t blockBytes = c.format.samplesPerSec / 10 * c.format.blockAlign;
        std::deque<std::vector<uint8_t>> blocks;
        std::deque<WaveBuffer> headers;
        auto addBlock = [&] {
            blocks.emplace_back(blockBytes);
            headers.emplace_back();
            headers.back().recordData = blocks.back().data();
            headers.back().length = blockBytes;
            headers.back().user = static_cast<int64_t>(headers.size() - 1);
            return input.addBuffer(&headers.back());
        };
        ASSERT_EQ(addBlock(), 0);
        ASSERT_EQ(addBlock(), 0);
        ASSERT_EQ(input.start(), 0);
        std::vector<WaveBuffer*> back;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (back.size() < 10 && std::chrono::steady_clock::now() < deadline) {
            if (input.waitDone(milliseconds(50))) {
                const size_t before = back.size();
                input.pollDone(back);
                for (size_t i = before; i < back.size(); ++i) {
                    ASSERT_EQ(addBlock(), 0);
                }
            }
        }
        ASSERT_EQ(input.reset(), 0);
        input.pollDone(back);
        ASSERT_EQ(back.size(), headers.size()) << "reset keeps none";
        std::vector<uint8_t> recorded;
        for (size_t i = 0; i < back.size(); ++i) {
            EXPECT_EQ(back[i]->user, static_cast<int64_t>(i));
            if (i < 10) {
                EXPECT_EQ(back[i]->bytesRecorded, blockBytes);
            }
            recorded.insert(recorded.end(), back[i]->recordData,
                            back[i]->recordData + back[i]->bytesRecorded);
        }
        input.close();
        output.reset();
        output.close();

        const size_t frames = recorded.size() / c.format.blockAlign;
        std::vector<float> samples(frames * c.format.channels);
        PcmCodec::decode(recorded.data(), frames, c.format.channels, c.format.bitsPerSample,
                         samples.data());
        EXPECT_NEAR(toneFrequency(samples, c.format.channels, c.format.samplesPerSec), 1000.0, 5.0);
        const double rms = std::sqrt(testing::energy(samples) / samples.size());
        EXPECT_NEAR(rms, 0.5 / std::sqrt(2.0), 0.05);
        EXPECT_EQ(input.lastError(), "");
    }
}

TEST(PortAudioInputDeviceTest, ResetBeforeStartReturnsTheEmptyBuffers) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    PortAudioInputDevice input;
    ASSERT_EQ(input.open(-1, WaveFormat::pcm(22050, 1, 16), false), 0);
    std::vector<uint8_t> data(4410 * 2);
    WaveBuffer headers[2];
    for (int i = 0; i < 2; ++i) {
        headers[i].recordData = data.data() + i * 4410;
        headers[i].length = 4410;
        headers[i].user = i;
        ASSERT_EQ(input.addBuffer(&headers[i]), 0);
    }
    ASSERT_EQ(input.reset(), 0);
    std::vector<WaveBuffer*> back;
    input.pollDone(back);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->user, 0);
    EXPECT_EQ(back[1]->user, 1);
    EXPECT_EQ(back[0]->bytesRecorded, 0u);
    EXPECT_EQ(input.addBuffer(nullptr), DeviceError::kInvalidParameter);
}

}  // namespace
}  // namespace murmelix
