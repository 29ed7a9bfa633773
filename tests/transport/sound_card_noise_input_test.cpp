#include "transport/sound_card_noise_input.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "audio/wave_format.h"
#include "device/device_error.h"
#include "device/simulated_input_device.h"

namespace murmelix {
namespace {

using std::chrono::milliseconds;

std::vector<uint8_t> samplesAsBytes(size_t count) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < count; ++i) {
        const auto value = static_cast<uint16_t>(static_cast<int16_t>(i * 13 - 5000));
        bytes.push_back(static_cast<uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<uint8_t>(value >> 8));
    }
    return bytes;
}

TEST(SoundCardNoiseInputTest, RecordsOneBufferOrGivesUpAtTheTimeLimit) {
    const struct {
        const char* name;
        uint32_t rate;
        milliseconds limit;
        int32_t samples;
        bool timedOut;
    } cases[] = {
        // 1024 samples take 23 ms at 44100 Hz and 128 ms at 8000 Hz.
        {"fills in time", 44100, milliseconds(5000), 1024, false},
        {"slow rate, short limit", 8000, milliseconds(50), 400, true},
        {"limit just long enough", 8000, milliseconds(130), 1024, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedInputDevice device;
        device.setSource(samplesAsBytes(2000));
        SoundCardNoiseInput input(device);
        std::array<int16_t, 1024> buffer{};
        ASSERT_EQ(input.start(-1, WaveFormat::pcm(c.rate, 1, 16), buffer), "");
        const NoiseInput::Recorded recorded = input.wait(c.limit);
        EXPECT_EQ(recorded.samples, c.samples);
        EXPECT_EQ(recorded.timedOut, c.timedOut);
        for (int32_t i = 0; i < recorded.samples; ++i) {
            ASSERT_EQ(buffer[static_cast<size_t>(i)], static_cast<int16_t>(i * 13 - 5000));
        }
        // Once wait() has returned, the device no longer writes into the buffer.
        const auto before = buffer;
        device.advance(1000);
        EXPECT_EQ(buffer, before);
        input.finish();
        EXPECT_FALSE(device.isOpen());
        EXPECT_EQ(device.outstanding(), 0u);
    }
}

TEST(SoundCardNoiseInputTest, DeviceRefusalsBecomeTheDevicesText) {
    const struct {
        const char* name;
        bool atQuery;
        int code;
        const char* details;
    } cases[] = {
        {"format query", true, DeviceError::kBadFormat, "no 44100 here"},
        {"open", false, DeviceError::kNoDevice, "nothing plugged in"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedInputDevice device;
        device.failNextOpen(c.atQuery, c.code, c.details);
        SoundCardNoiseInput input(device);
        std::array<int16_t, 64> buffer{};
        const std::string text = c.atQuery ? input.queryFormat(-1, WaveFormat::pcm(44100, 1, 16))
                                           : input.start(-1, WaveFormat::pcm(44100, 1, 16), buffer);
        EXPECT_EQ(text, c.details);
        EXPECT_FALSE(device.isOpen());
    }
}

TEST(SoundCardNoiseInputTest, ADeviceThatDiesGivesWhatArrivedWithoutWaitingForTheLimit) {
    SimulatedInputDevice device;
    device.setSource(samplesAsBytes(2000));
    SoundCardNoiseInput input(device);
    std::array<int16_t, 1024> buffer{};
    ASSERT_EQ(input.start(-1, WaveFormat::pcm(8000, 1, 16), buffer), "");
    device.advance(20);  // 160 samples
    device.die("server gone");
    const NoiseInput::Recorded recorded = input.wait(milliseconds(5000));
    EXPECT_EQ(recorded.samples, 160);
    EXPECT_LT(device.nowMs(), 100u);
    input.finish();
    EXPECT_FALSE(device.isOpen());
}

}  // namespace
}  // namespace murmelix
