#include "device/port_audio_output_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "device/device_error.h"
#include "device/device_list.h"
#include "device/port_audio_library.h"
#include "device_test_signals.h"
#include "sound_server_rig.h"

namespace murmelix {
namespace {

using std::chrono::milliseconds;
using testing::MonitorRecorder;
using testing::sineBytes;

constexpr double kChirpSeconds = 1.0;
constexpr float kHeard = 0.02f;

// A sweep from 300 to 2500 Hz with short fades: no two stretches of it look alike, so the
// recording can only match it at the right place and speed.
double chirp(double t) {
    if (t < 0 || t > kChirpSeconds) {
        return 0.0;
    }
    const double pi = std::acos(-1.0);
    const double phase = 2 * pi * (300 * t + (2500 - 300) * t * t / (2 * kChirpSeconds));
    const double fade = std::min({1.0, t / 0.005, (kChirpSeconds - t) / 0.005});
    return 0.5 * fade * std::sin(phase);
}

std::vector<uint8_t> chirpBytes(const WaveFormat& format, uint32_t fileRate) {
    std::vector<uint8_t> bytes;
    const auto frames = static_cast<size_t>(kChirpSeconds * fileRate);
    for (size_t f = 0; f < frames; ++f) {
        const double value = chirp(static_cast<double>(f) / fileRate);
        for (int c = 0; c < format.channels; ++c) {
            if (format.bitsPerSample == 8) {
                bytes.push_back(static_cast<uint8_t>(std::lround(value * 127) + 128));
            } else {
                const auto s =
                    static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767)));
                bytes.push_back(static_cast<uint8_t>(s & 0xFF));
                bytes.push_back(static_cast<uint8_t>(s >> 8));
            }
        }
    }
    return bytes;
}

size_t firstHeard(const std::vector<float>& samples) {
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) > kHeard) {
            return i;
        }
    }
    return samples.size();
}

double heardSeconds(const std::vector<float>& samples) {
    const size_t first = firstHeard(samples);
    size_t last = first;
    for (size_t i = first; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) > kHeard) {
            last = i;
        }
    }
    return static_cast<double>(last - first) / MonitorRecorder::kRate;
}

double correlationAt(const std::vector<float>& recording, const std::vector<float>& reference,
                     size_t lag, size_t step) {
    double cross = 0;
    double recorded = 0;
    double expected = 0;
    for (size_t j = 0; j < reference.size(); j += step) {
        const double r = recording[lag + j];
        cross += r * reference[j];
        recorded += r * r;
        expected += static_cast<double>(reference[j]) * reference[j];
    }
    return recorded > 0 && expected > 0 ? cross / std::sqrt(recorded * expected) : 0.0;
}

// Where the sound starts: the first 10 ms window whose mean square is clearly above silence,
// so that a lone click does not count.
size_t soundStart(const std::vector<float>& samples) {
    constexpr size_t kWindow = 441;
    double sum = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
        if (i >= kWindow) {
            sum -= static_cast<double>(samples[i - kWindow]) * samples[i - kWindow];
        }
        if (i + 1 >= kWindow && sum / kWindow > 0.01) {
            return i + 1 - kWindow;
        }
    }
    return samples.size();
}

// Normalized cross-correlation of the recording with the chirp played at speed, at the best
// offset near where the sound starts: on every fourth sample first, then refined.
double bestCorrelation(const std::vector<float>& recording, double speed) {
    std::vector<float> reference;
    const auto frames = static_cast<size_t>(kChirpSeconds / speed * MonitorRecorder::kRate);
    for (size_t i = 0; i < frames; ++i) {
        reference.push_back(static_cast<float>(chirp(i * speed / MonitorRecorder::kRate)));
    }
    if (recording.size() < reference.size()) {
        return 0.0;
    }
    const auto lags = static_cast<long>(recording.size() - reference.size() + 1);
    const long guess =
        static_cast<long>(soundStart(recording)) - static_cast<long>(soundStart(reference));
    const long from = std::max(0L, guess - 2000);
    const long to = std::min(lags, guess + 2001);
    long coarse = from;
    double best = -1.0;
    for (long lag = from; lag < to; lag += 4) {
        const double value = correlationAt(recording, reference, static_cast<size_t>(lag), 4);
        if (value > best) {
            best = value;
            coarse = lag;
        }
    }
    best = 0.0;
    for (long lag = std::max(0L, coarse - 4); lag < std::min(lags, coarse + 5); ++lag) {
        best = std::max(best, correlationAt(recording, reference, static_cast<size_t>(lag), 1));
    }
    return best;
}

// Waits on the device's descriptor, as the program's event loop does, until count buffers
// are back or the limit has passed.
std::vector<WaveBuffer*> collect(OutputDevice& device, size_t count, milliseconds limit) {
    std::vector<WaveBuffer*> back;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (back.size() < count && std::chrono::steady_clock::now() < deadline) {
        if (device.waitDone(milliseconds(50))) {
            device.pollDone(back);
        }
    }
    return back;
}

TEST(PortAudioOutputDeviceTest, TheDeviceListNamesTheSoundServersDevicesDefaultFirst) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const PortAudioLibrary library;
    for (const auto direction : {DeviceList::Direction::Output, DeviceList::Direction::Input}) {
        const std::vector<std::string> names = DeviceList::names(direction);
        EXPECT_NE(std::find(names.begin(), names.end(), "pulse"), names.end());
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.front(), "default");
        EXPECT_EQ(DeviceList::portAudioIndex(direction, 0),
                  DeviceList::portAudioIndex(direction, -1));
    }
}

TEST(PortAudioOutputDeviceTest, OpenRefusesWhatItCannotPlay) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const struct {
        const char* name;
        int deviceId;
        WaveFormat format;
        int expected;
    } cases[] = {
        {"default device", -1, WaveFormat::pcm(22050, 1, 16), DeviceError::kNone},
        {"no such device", 999, WaveFormat::pcm(22050, 1, 16), DeviceError::kBadDeviceId},
        {"24-bit", -1, WaveFormat::pcm(22050, 1, 24), DeviceError::kBadFormat},
        {"three channels", -1, WaveFormat::pcm(22050, 3, 16), DeviceError::kBadFormat},
        {"rate 0", -1, WaveFormat::pcm(0, 1, 16), DeviceError::kBadFormat},
        {"rate far below the device's", -1, WaveFormat::pcm(50, 1, 16), DeviceError::kBadFormat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PortAudioOutputDevice device;
        for (const bool query : {true, false}) {
            const int code = device.open(c.deviceId, c.format, query);
            EXPECT_EQ(code, c.expected) << (query ? " (query)" : "");
            EXPECT_EQ(device.isOpen(), !query && c.expected == 0);
            if (code != 0) {
                EXPECT_FALSE(device.errorText(code).empty());
            }
        }
        EXPECT_EQ(device.open(c.deviceId, c.format, false),
                  c.expected == 0 ? DeviceError::kAlreadyOpen : c.expected);
        WaveBuffer empty;
        empty.length = 4;  // and no samples
        EXPECT_EQ(device.write(&empty), DeviceError::kInvalidParameter);
        EXPECT_EQ(device.outstanding(), 0u);
    }
}

// What the device plays is what the null sink's monitor hears: the same sweep, at the speed
// asked for either by the opened rate (as the transport applies the speed at a start) or by
// a live rate change.
TEST(PortAudioOutputDeviceTest, TheSinkHearsTheBuffersAtTheRightSpeed) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const struct {
        const char* name;
        WaveFormat format;
        uint32_t fileRate;
        int livePercent;
        double speed;
    } cases[] = {
        {"16-bit mono 22050", WaveFormat::pcm(22050, 1, 16), 22050, 100, 1.0},
        {"8-bit mono 11025", WaveFormat::pcm(11025, 1, 8), 11025, 100, 1.0},
        {"16-bit stereo 48000", WaveFormat::pcm(48000, 2, 16), 48000, 100, 1.0},
        {"opened at 200 %", WaveFormat::pcm(44100, 1, 16), 22050, 100, 2.0},
        {"opened at 50 %", WaveFormat::pcm(11025, 1, 16), 22050, 100, 0.5},
        {"set to 200 % while open", WaveFormat::pcm(22050, 1, 16), 22050, 200, 2.0},
        {"set to 50 % while open", WaveFormat::pcm(22050, 1, 16), 22050, 50, 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes = chirpBytes(c.format, c.fileRate);
        MonitorRecorder recorder;
        ASSERT_TRUE(recorder.running());
        std::this_thread::sleep_for(milliseconds(200));
        PortAudioOutputDevice device;
        ASSERT_EQ(device.open(-1, c.format, false), 0);
        device.setPlaybackRate(OutputDevice::rateFromPercent(c.livePercent));
        // Uneven pieces, so that the joins between buffers are heard too.
        const uint32_t align = c.format.blockAlign;
        const auto frames = static_cast<uint32_t>(bytes.size() / align);
        const uint32_t cuts[] = {0, frames / 7, frames / 3, frames / 3 + 1, frames / 2, frames};
        std::vector<WaveBuffer> buffers(5);
        for (size_t i = 0; i < 5; ++i) {
            buffers[i].data = bytes.data() + cuts[i] * align;
            buffers[i].length = (cuts[i + 1] - cuts[i]) * align;
            buffers[i].user = static_cast<int64_t>(i);
            ASSERT_EQ(device.write(&buffers[i]), 0);
        }
        const std::vector<WaveBuffer*> back = collect(device, 5, milliseconds(10000));
        std::this_thread::sleep_for(milliseconds(400));
        const std::vector<float> heard = recorder.stop();
        ASSERT_EQ(back.size(), 5u);
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(back[i]->user, static_cast<int64_t>(i));
        }
        EXPECT_EQ(device.underflowCount(), 0u);
        EXPECT_NEAR(heardSeconds(heard), kChirpSeconds / c.speed, 0.03);
        EXPECT_GE(bestCorrelation(heard, c.speed), 0.9);
        EXPECT_EQ(device.lastError(), "");
    }
}

TEST(PortAudioOutputDeviceTest, ResetGivesBackEveryQueuedBufferAtOnce) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 2205);  // 100 ms
    const struct {
        const char* name;
        bool paused;
        int playMs;
    } cases[] = {{"while playing", false, 150}, {"while paused", true, 150}, {"at once", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PortAudioOutputDevice device;
        ASSERT_EQ(device.open(-1, format, false), 0);
        if (c.paused) {
            device.pause();
        }
        std::vector<WaveBuffer> buffers(20);
        for (size_t i = 0; i < buffers.size(); ++i) {
            buffers[i].data = bytes.data();
            buffers[i].length = static_cast<uint32_t>(bytes.size());
            buffers[i].user = static_cast<int64_t>(i);
            ASSERT_EQ(device.write(&buffers[i]), 0);
        }
        std::this_thread::sleep_for(milliseconds(c.playMs));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(device.reset(), 0);
        const auto took = std::chrono::steady_clock::now() - start;
        std::vector<WaveBuffer*> back;
        device.pollDone(back);
        EXPECT_LT(took, milliseconds(200));
        ASSERT_EQ(back.size(), buffers.size());
        for (size_t i = 0; i < back.size(); ++i) {
            EXPECT_EQ(back[i]->user, static_cast<int64_t>(i));
        }
        EXPECT_EQ(device.outstanding(), 0u);
        EXPECT_EQ(device.lastError(), "");
    }
}

// The transport's way of playing: twenty short buffers ahead, each refilled as it comes back.
TEST(PortAudioOutputDeviceTest, ARefilledRingPlaysInOrderWithoutGaps) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 441);  // 20 ms
    PortAudioOutputDevice device;
    ASSERT_EQ(device.open(-1, format, false), 0);
    std::vector<WaveBuffer> ring(20);
    int64_t written = 0;
    device.pause();
    for (auto& slot : ring) {
        slot.data = bytes.data();
        slot.length = static_cast<uint32_t>(bytes.size());
        slot.user = written++;
        ASSERT_EQ(device.write(&slot), 0);
    }
    device.restart();
    int64_t expected = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<WaveBuffer*> back;
    while (expected < 150 && std::chrono::steady_clock::now() < deadline) {
        if (!device.waitDone(milliseconds(100))) {
            continue;
        }
        back.clear();
        device.pollDone(back);
        for (WaveBuffer* done : back) {
            EXPECT_EQ(done->user, expected++);
            done->user = written++;
            ASSERT_EQ(device.write(done), 0);
        }
    }
    EXPECT_EQ(expected, 150);
    EXPECT_EQ(device.underflowCount(), 0u);
    device.reset();
    device.close();
}

TEST(PortAudioOutputDeviceTest, PauseHoldsTheBufferUntilRestart) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 4410);  // 200 ms
    PortAudioOutputDevice device;
    ASSERT_EQ(device.open(-1, format, false), 0);
    WaveBuffer buffer;
    buffer.data = bytes.data();
    buffer.length = static_cast<uint32_t>(bytes.size());
    device.pause();
    ASSERT_EQ(device.write(&buffer), 0);
    EXPECT_TRUE(collect(device, 1, milliseconds(600)).empty());
    device.restart();
    EXPECT_EQ(collect(device, 1, milliseconds(2000)).size(), 1u);
}

}  // namespace
}  // namespace murmelix

namespace murmelix {
namespace {

// The longest run of digital silence between the first and the last sound, in samples.
size_t longestSilence(const std::vector<float>& samples) {
    const size_t first = firstHeard(samples);
    size_t longest = 0;
    size_t run = 0;
    for (size_t i = first; i < samples.size(); ++i) {
        run = samples[i] == 0.0f ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// The speed slider moved every 20 ms while both cores are busy with other work: the sound
// must never drop out.
TEST(PortAudioOutputDeviceTest, SpeedChangesUnderLoadLeaveNoGaps) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 22050 * 30, 0.3);
    PortAudioOutputDevice device;
    std::atomic<bool> busy{true};
    std::vector<std::thread> load;
    for (int i = 0; i < 2; ++i) {
        load.emplace_back([&busy] {
            volatile uint64_t spin = 0;
            while (busy.load(std::memory_order_relaxed)) {
                spin = spin + 1;
            }
        });
    }
    MonitorRecorder monitor;
    std::this_thread::sleep_for(milliseconds(300));
    ASSERT_EQ(device.open(-1, format, false), 0);
    WaveBuffer buffer;
    buffer.data = bytes.data();
    buffer.length = static_cast<uint32_t>(bytes.size());
    ASSERT_EQ(device.write(&buffer), 0);
    for (int step = 0; step < 500; ++step) {
        const int percent = 50 + (step * 37) % 151;
        device.setPlaybackRate(OutputDevice::rateFromPercent(percent));
        std::this_thread::sleep_for(milliseconds(20));
    }
    device.reset();
    device.close();
    busy.store(false);
    for (auto& thread : load) {
        thread.join();
    }
    std::vector<float> playing = monitor.stop();
    // Up to the stop: cut the recording where the sound ends for good.
    while (!playing.empty() && std::fabs(playing.back()) < kHeard) {
        playing.pop_back();
    }
    EXPECT_LT(longestSilence(playing), static_cast<size_t>(0.005 * MonitorRecorder::kRate));
    EXPECT_EQ(device.underflowCount(), 0u);
}

}  // namespace
}  // namespace murmelix
