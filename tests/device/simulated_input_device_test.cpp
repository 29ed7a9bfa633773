#include "device/simulated_input_device.h"

#include <gtest/gtest.h>

#include <vector>

#include "audio/wave_format.h"
#include "device/device_error.h"

namespace murmelix {
namespace {

std::vector<uint8_t> counting(size_t bytes) {
    std::vector<uint8_t> out(bytes);
    for (size_t i = 0; i < bytes; ++i) {
        out[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    return out;
}

TEST(SimulatedInputDeviceTest, FillsBuffersInOrderWithTheScriptThenSilence) {
    const struct {
        const char* name;
        WaveFormat format;
        size_t scriptBytes;
        bool loop;
    } cases[] = {
        {"16-bit mono, short script", WaveFormat::pcm(1000, 1, 16), 300, false},
        {"8-bit stereo, short script", WaveFormat::pcm(1000, 2, 8), 300, false},
        {"16-bit stereo, looped", WaveFormat::pcm(1000, 2, 16), 52, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedInputDevice device;
        const auto script = counting(c.scriptBytes);
        device.setSource(script, c.loop);
        ASSERT_EQ(device.open(-1, c.format, false), 0);
        const uint32_t blockBytes = 100 * c.format.blockAlign;  // 100 ms
        std::vector<uint8_t> data(3 * blockBytes, 0xEE);
        WaveBuffer buffers[3];
        for (int i = 0; i < 3; ++i) {
            buffers[i].recordData = data.data() + i * blockBytes;
            buffers[i].length = blockBytes;
            buffers[i].user = i;
            ASSERT_EQ(device.addBuffer(&buffers[i]), 0);
        }
        device.advance(500);  // not started: nothing is recorded
        std::vector<WaveBuffer*> back;
        EXPECT_EQ(device.pollDone(back), 0u);
        ASSERT_EQ(device.start(), 0);
        device.advance(250);
        device.pollDone(back);
        ASSERT_EQ(back.size(), 2u);
        EXPECT_EQ(back[0]->user, 0);
        EXPECT_EQ(back[1]->user, 1);
        device.reset();
        device.pollDone(back);
        ASSERT_EQ(back.size(), 3u);
        EXPECT_EQ(back[2]->bytesRecorded, blockBytes / 2);
        const uint8_t silence = c.format.bitsPerSample == 8 ? 0x80 : 0x00;
        for (size_t i = 0; i < 250u * c.format.blockAlign; ++i) {
            const uint8_t expected =
                c.loop ? script[i % script.size()] : (i < script.size() ? script[i] : silence);
            ASSERT_EQ(data[i], expected) << "byte " << i;
        }
        EXPECT_EQ(data[250u * c.format.blockAlign], 0xEE) << "wrote past the end";
    }
}

TEST(SimulatedInputDeviceTest, RefusedRatesAndScriptedFailuresReachTheCaller) {
    SimulatedInputDevice device;
    device.refuseRate(44100);
    EXPECT_EQ(device.open(-1, WaveFormat::pcm(44100, 1, 16), true), DeviceError::kBadFormat);
    EXPECT_EQ(device.open(-1, WaveFormat::pcm(22050, 1, 16), true), 0);
    device.failNextOpen(false, DeviceError::kNoDevice, "unplugged");
    const int code = device.open(-1, WaveFormat::pcm(22050, 1, 16), false);
    EXPECT_EQ(code, DeviceError::kNoDevice);
    EXPECT_EQ(device.errorText(code), "unplugged");
    EXPECT_FALSE(device.isOpen());
    const std::vector<std::string> expected = {"query -1 44100", "query -1 22050", "open -1 22050"};
    EXPECT_EQ(device.calls(), expected);
}

TEST(SimulatedInputDeviceTest, OverrunAndDeathAreReported) {
    SimulatedInputDevice device;
    ASSERT_EQ(device.open(-1, WaveFormat::pcm(1000, 1, 16), false), 0);
    std::vector<uint8_t> data(100);
    WaveBuffer buffer;
    buffer.recordData = data.data();
    buffer.length = 100;  // 50 ms
    device.addBuffer(&buffer);
    device.start();
    device.advance(80);
    EXPECT_EQ(device.overrunFrames(), 30u);
    WaveBuffer second;
    second.recordData = data.data();
    second.length = 100;
    device.addBuffer(&second);
    device.advance(10);
    device.die("gone");
    std::vector<WaveBuffer*> back;
    device.pollDone(back);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1]->bytesRecorded, 20u);
    EXPECT_EQ(device.lastError(), "gone");
    EXPECT_EQ(device.start(), DeviceError::kStreamFailed);
}

}  // namespace
}  // namespace murmelix
