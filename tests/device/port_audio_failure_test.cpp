#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "device/device_error.h"
#include "device/device_list.h"
#include "device/port_audio_input_device.h"
#include "device/port_audio_output_device.h"
#include "device_test_signals.h"
#include "sound_server_rig.h"

namespace murmelix {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using testing::PrivateSoundServer;
using testing::sineBytes;

// The ALSA "pulse" device reaches whichever server PULSE_SERVER names when it opens.
int pulseDevice(DeviceList::Direction direction) {
    const std::vector<std::string> names = DeviceList::names(direction);
    const auto found = std::find(names.begin(), names.end(), "pulse");
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

std::vector<WaveBuffer*> collect(SoundDevice& device, size_t count, milliseconds limit) {
    std::vector<WaveBuffer*> back;
    const auto deadline = steady_clock::now() + limit;
    while (back.size() < count && steady_clock::now() < deadline) {
        if (device.waitDone(milliseconds(50))) {
            device.pollDone(back);
        }
    }
    return back;
}

TEST(PortAudioFailureTest, PlaybackSurvivesTheSoundServerQuitting) {
    if (!testing::reachTestSoundServer() && std::getenv("MURMELIX_REQUIRE_SOUND") == nullptr) {
        GTEST_SKIP() << "no sound server answers; start scripts/sound-server.sh";
    }
    PrivateSoundServer server;
    ASSERT_TRUE(server.started());
    const int id = pulseDevice(DeviceList::Direction::Output);
    ASSERT_GE(id, 0);
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 11025);  // 500 ms
    PortAudioOutputDevice device;
    ASSERT_EQ(device.open(id, format, false), 0);
    std::vector<WaveBuffer> buffers(10);
    for (size_t i = 0; i < buffers.size(); ++i) {
        buffers[i].data = bytes.data();
        buffers[i].length = static_cast<uint32_t>(bytes.size());
        buffers[i].user = static_cast<int64_t>(i);
        ASSERT_EQ(device.write(&buffers[i]), 0);
    }
    std::this_thread::sleep_for(milliseconds(400));
    server.kill();
    const auto killed = steady_clock::now();
    const std::vector<WaveBuffer*> back = collect(device, buffers.size(), milliseconds(5000));
    EXPECT_LT(steady_clock::now() - killed, milliseconds(3000));
    ASSERT_EQ(back.size(), buffers.size());
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i]->user, static_cast<int64_t>(i));
    }
    EXPECT_EQ(device.lastError(), DeviceError::text(DeviceError::kStreamFailed));
    EXPECT_EQ(device.write(&buffers[0]), DeviceError::kStreamFailed);
    EXPECT_EQ(device.outstanding(), 0u);
    const auto closing = steady_clock::now();
    EXPECT_EQ(device.reset(), 0);
    EXPECT_EQ(device.close(), 0);
    EXPECT_LT(steady_clock::now() - closing, milliseconds(1000));
}

TEST(PortAudioFailureTest, RecordingSurvivesTheSoundServerQuitting) {
    if (!testing::reachTestSoundServer() && std::getenv("MURMELIX_REQUIRE_SOUND") == nullptr) {
        GTEST_SKIP() << "no sound server answers; start scripts/sound-server.sh";
    }
    PrivateSoundServer server;
    ASSERT_TRUE(server.started());
    const int id = pulseDevice(DeviceList::Direction::Input);
    ASSERT_GE(id, 0);
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    PortAudioInputDevice device;
    ASSERT_EQ(device.open(id, format, false), 0);
    std::vector<uint8_t> data(3 * 44100);
    std::vector<WaveBuffer> blocks(3);
    for (size_t i = 0; i < blocks.size(); ++i) {
        blocks[i].recordData = data.data() + i * 44100;
        blocks[i].length = 44100;  // a second each
        blocks[i].user = static_cast<int64_t>(i);
        ASSERT_EQ(device.addBuffer(&blocks[i]), 0);
    }
    ASSERT_EQ(device.start(), 0);
    std::this_thread::sleep_for(milliseconds(400));
    server.kill();
    const std::vector<WaveBuffer*> back = collect(device, blocks.size(), milliseconds(5000));
    ASSERT_EQ(back.size(), blocks.size());
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i]->user, static_cast<int64_t>(i));
        EXPECT_LT(back[i]->bytesRecorded, back[i]->length);
    }
    EXPECT_EQ(device.lastError(), DeviceError::text(DeviceError::kStreamFailed));
    EXPECT_EQ(device.start(), DeviceError::kStreamFailed);
    const auto closing = steady_clock::now();
    EXPECT_EQ(device.close(), 0);
    EXPECT_LT(steady_clock::now() - closing, milliseconds(1000));
}

}  // namespace
}  // namespace murmelix
