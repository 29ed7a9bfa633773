#include "device/simulated_output_device.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/wave_format.h"
#include "device/device_error.h"

namespace murmelix {
namespace {

// n frames of 16-bit mono whose every sample tells its buffer and position apart.
std::vector<uint8_t> marked(uint8_t tag, size_t frames) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < frames; ++i) {
        bytes.push_back(static_cast<uint8_t>(i));
        bytes.push_back(tag);
    }
    return bytes;
}

struct Rig {
    SimulatedOutputDevice device;
    std::vector<std::vector<uint8_t>> data;
    std::vector<WaveBuffer> buffers;
    std::vector<WaveBuffer*> back;

    explicit Rig(uint32_t rate = 1000) {
        EXPECT_EQ(device.open(-1, WaveFormat::pcm(rate, 1, 16), false), 0);
        data.reserve(64);
        buffers.reserve(64);
    }
    WaveBuffer* write(size_t frames) {
        data.push_back(marked(static_cast<uint8_t>(data.size()), frames));
        WaveBuffer buffer;
        buffer.data = data.back().data();
        buffer.length = static_cast<uint32_t>(data.back().size());
        buffer.user = static_cast<int64_t>(buffers.size());
        buffers.push_back(buffer);
        EXPECT_EQ(device.write(&buffers.back()), 0);
        return &buffers.back();
    }
    std::vector<int64_t> poll() {
        std::vector<WaveBuffer*> now;
        device.pollDone(now);
        std::vector<int64_t> users;
        for (WaveBuffer* b : now) {
            users.push_back(b->user);
            back.push_back(b);
        }
        return users;
    }
};

TEST(SimulatedOutputDeviceTest, PlaysBuffersInOrderAtTheOpenedRateAndSpeed) {
    // 1000 frames per second, so frames and milliseconds match at normal speed.
    const struct {
        const char* name;
        uint32_t rate;
        std::vector<uint64_t> advances;
        std::vector<std::vector<int64_t>> backAfterEach;
        size_t playedFrames;
    } cases[] = {
        {"normal speed", OutputDevice::kNormalRate, {99, 1, 150, 50}, {{}, {0}, {1}, {2}}, 300},
        {"double speed", OutputDevice::rateFromPercent(200), {50, 100}, {{0}, {1, 2}}, 300},
        {"half speed", OutputDevice::rateFromPercent(50), {199, 1, 400}, {{}, {0}, {1, 2}}, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.device.setPlaybackRate(c.rate);
        rig.write(100);
        rig.write(100);
        rig.write(100);
        for (size_t i = 0; i < c.advances.size(); ++i) {
            rig.device.advance(c.advances[i]);
            EXPECT_EQ(rig.poll(), c.backAfterEach[i]) << "step " << i;
        }
        std::vector<uint8_t> expected;
        for (const auto& d : rig.data) {
            expected.insert(expected.end(), d.begin(), d.end());
        }
        EXPECT_EQ(rig.device.played().size(), c.playedFrames * 2);
        EXPECT_EQ(rig.device.played(), expected);
        EXPECT_EQ(rig.device.outstanding(), 0u);
    }
}

TEST(SimulatedOutputDeviceTest, ResetReturnsEveryBufferAtOnceInOrder) {
    const struct {
        const char* name;
        bool paused;
        uint64_t playedMs;
    } cases[] = {{"while playing", false, 150}, {"while paused", true, 0}, {"at once", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (c.paused) {
            rig.device.pause();
        }
        for (int i = 0; i < 20; ++i) {
            rig.write(100);
        }
        rig.device.advance(c.playedMs);
        std::vector<int64_t> early = rig.poll();
        rig.device.reset();
        std::vector<int64_t> all = early;
        const std::vector<int64_t> rest = rig.poll();
        all.insert(all.end(), rest.begin(), rest.end());
        ASSERT_EQ(all.size(), 20u);
        for (int64_t i = 0; i < 20; ++i) {
            EXPECT_EQ(all[static_cast<size_t>(i)], i);
        }
        EXPECT_EQ(rig.device.played().size(), c.playedMs * 2);
        EXPECT_EQ(rig.device.outstanding(), 0u);
        EXPECT_EQ(rig.device.paused(), c.paused) << "reset keeps the pause";
    }
}

TEST(SimulatedOutputDeviceTest, PauseStopsTimeForTheQueue) {
    Rig rig;
    rig.write(100);
    rig.device.advance(40);
    rig.device.pause();
    rig.device.advance(1000);
    EXPECT_TRUE(rig.poll().empty());
    EXPECT_EQ(rig.device.played().size(), 80u);
    rig.device.restart();
    rig.device.advance(60);
    EXPECT_EQ(rig.poll(), std::vector<int64_t>{0});
    EXPECT_EQ(rig.device.underflowCount(), 0u);
}

TEST(SimulatedOutputDeviceTest, CountsGapsBetweenBuffers) {
    const struct {
        const char* name;
        const char* steps;  // 'w' write 100 ms, digits: advance that many tenths of a second
        uint32_t gaps;
    } cases[] = {
        {"idle before the first", "5w2", 0},
        {"back to back", "ww3", 0},
        {"written just in time", "w1w1w1", 0},
        {"one late", "w2w2", 1},
        {"two late", "w2w2w2", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        for (const char* s = c.steps; *s != '\0'; ++s) {
            if (*s == 'w') {
                rig.write(100);
            } else {
                rig.device.advance(static_cast<uint64_t>(*s - '0') * 100);
            }
        }
        EXPECT_EQ(rig.device.underflowCount(), c.gaps);
    }
}

TEST(SimulatedOutputDeviceTest, OpenChecksTheScriptTheDeviceAndTheFormat) {
    const struct {
        const char* name;
        int deviceCount;
        int deviceId;
        WaveFormat format;
        int scriptedQuery;
        int expectedQuery;
        int expectedOpen;
    } cases[] = {
        {"default device", 1, -1, WaveFormat::pcm(22050, 1, 16), 0, 0, 0},
        {"second device", 2, 1, WaveFormat::pcm(22050, 2, 8), 0, 0, 0},
        {"no such device", 2, 2, WaveFormat::pcm(22050, 1, 16), 0, DeviceError::kBadDeviceId,
         DeviceError::kBadDeviceId},
        {"no device at all", 0, -1, WaveFormat::pcm(22050, 1, 16), 0, DeviceError::kNoDevice,
         DeviceError::kNoDevice},
        {"24-bit", 1, -1, WaveFormat::pcm(22050, 1, 24), 0, DeviceError::kBadFormat,
         DeviceError::kBadFormat},
        {"rate 0", 1, -1, WaveFormat::pcm(0, 1, 16), 0, DeviceError::kBadFormat,
         DeviceError::kBadFormat},
        {"scripted refusal", 1, -1, WaveFormat::pcm(22050, 1, 16), DeviceError::kNoMemory,
         DeviceError::kNoMemory, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedOutputDevice device;
        device.setDeviceCount(c.deviceCount);
        if (c.scriptedQuery != 0) {
            device.failNextOpen(true, c.scriptedQuery, "scripted");
        }
        const int query = device.open(c.deviceId, c.format, true);
        EXPECT_EQ(query, c.expectedQuery);
        EXPECT_FALSE(device.isOpen());
        if (c.scriptedQuery != 0) {
            EXPECT_EQ(device.errorText(query), "scripted");
        }
        EXPECT_EQ(device.open(c.deviceId, c.format, false), c.expectedOpen);
        EXPECT_EQ(device.isOpen(), c.expectedOpen == 0);
    }
}

TEST(SimulatedOutputDeviceTest, WriteRefusesWhatItCannotTakeAndKeepsCount) {
    std::vector<uint8_t> data(20);
    const struct {
        const char* name;
        bool open;
        bool dead;
        int fill;  // buffers written first
        const uint8_t* bytes;
        uint32_t length;
        int expected;
    } cases[] = {
        {"fine", true, false, 0, data.data(), 20, 0},
        {"empty buffer", true, false, 0, nullptr, 0, 0},
        {"not open", false, false, 0, data.data(), 20, DeviceError::kNotOpen},
        {"no samples behind a length", true, false, 0, nullptr, 20, DeviceError::kInvalidParameter},
        {"stream died", true, true, 0, data.data(), 20, DeviceError::kStreamFailed},
        {"one more than the device holds", true, false,
         static_cast<int>(SoundDevice::kMaxOutstanding), data.data(), 20,
         DeviceError::kTooManyBuffers},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedOutputDevice device;
        if (c.open) {
            device.open(-1, WaveFormat::pcm(1000, 1, 16), false);
        }
        if (c.dead) {
            device.die();
        }
        std::vector<WaveBuffer> filler(static_cast<size_t>(c.fill));
        for (auto& b : filler) {
            b.data = data.data();
            b.length = 20;
            ASSERT_EQ(device.write(&b), 0);
        }
        WaveBuffer buffer;
        buffer.data = c.bytes;
        buffer.length = c.length;
        EXPECT_EQ(device.write(&buffer), c.expected);
        EXPECT_EQ(device.outstanding(), filler.size() + (c.expected == 0 ? 1 : 0));
    }
    SimulatedOutputDevice device;
    device.open(-1, WaveFormat::pcm(1000, 1, 16), false);
    EXPECT_EQ(device.write(nullptr), DeviceError::kInvalidParameter);
}

TEST(SimulatedOutputDeviceTest, RecordsTheCallsInOrder) {
    SimulatedOutputDevice device;
    device.open(-1, WaveFormat::pcm(44100, 1, 16), true);
    device.open(-1, WaveFormat::pcm(44100, 1, 16), false);
    std::vector<uint8_t> data(10);
    WaveBuffer buffer;
    buffer.data = data.data();
    buffer.length = 10;
    device.pause();
    device.write(&buffer);
    device.restart();
    device.setPlaybackRate(OutputDevice::rateFromPercent(150));
    device.reset();
    device.close();
    const std::vector<std::string> expected = {"query -1 44100", "open -1 44100", "pause",
                                               "write 10",       "restart",       "rate 98304",
                                               "reset",          "close"};
    EXPECT_EQ(device.calls(), expected);
}

TEST(SimulatedOutputDeviceTest, ADyingStreamReturnsEverythingAndRefusesMore) {
    Rig rig;
    for (int i = 0; i < 5; ++i) {
        rig.write(100);
    }
    rig.device.advance(120);
    rig.device.die("The sound server quit.");
    EXPECT_TRUE(rig.device.waitDone(std::chrono::milliseconds(0)));
    EXPECT_EQ(rig.poll(), (std::vector<int64_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(rig.device.lastError(), "The sound server quit.");
    std::vector<uint8_t> more(20);
    WaveBuffer late;
    late.data = more.data();
    late.length = 20;
    EXPECT_EQ(rig.device.write(&late), DeviceError::kStreamFailed);
    EXPECT_EQ(rig.device.outstanding(), 0u);
    rig.device.close();
    EXPECT_EQ(rig.device.open(-1, WaveFormat::pcm(1000, 1, 16), false), 0);
    EXPECT_EQ(rig.device.lastError(), "") << "a new open starts clean";
}

TEST(SimulatedOutputDeviceTest, WaitDoneLetsVirtualTimePassUntilABufferIsBack) {
    Rig rig;
    rig.write(30);
    EXPECT_FALSE(rig.device.waitDone(std::chrono::milliseconds(10)));
    EXPECT_EQ(rig.device.nowMs(), 10u);
    EXPECT_TRUE(rig.device.waitDone(std::chrono::milliseconds(1000)));
    EXPECT_EQ(rig.device.nowMs(), 30u);
    EXPECT_EQ(rig.poll(), std::vector<int64_t>{0});
}

TEST(SimulatedOutputDeviceTest, CloseReturnsWhatIsStillQueued) {
    Rig rig;
    rig.write(100);
    rig.write(100);
    rig.device.advance(10);
    EXPECT_EQ(rig.device.close(), 0);
    EXPECT_EQ(rig.poll(), (std::vector<int64_t>{0, 1}));
    EXPECT_FALSE(rig.device.isOpen());
}

}  // namespace
}  // namespace murmelix
