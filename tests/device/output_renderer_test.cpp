#include "device/output_renderer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "device_test_signals.h"

namespace murmelix {
namespace {

using testing::energy;
using testing::sineBytes;
using testing::toneFrequency;

struct Rig {
    DoneQueue done{256};
    OutputRenderer renderer{done, 256};
    std::vector<WaveBuffer*> back;
    int channels = 2;

    Rig(const WaveFormat& format, double streamRate, int streamChannels = 2)
        : channels(streamChannels) {
        EXPECT_TRUE(renderer.configure(format, streamRate, streamChannels));
    }

    std::vector<float> render(size_t frames, size_t period = 512) {
        std::vector<float> out(frames * static_cast<size_t>(channels), 7.0f);
        for (size_t at = 0; at < frames; at += period) {
            renderer.render(out.data() + at * static_cast<size_t>(channels),
                            std::min(period, frames - at));
        }
        done.drain(back);
        return out;
    }

    // Renders period by period until count buffers are back; returns the frames it took.
    size_t renderUntilBack(size_t count, size_t limit, size_t period = 256) {
        size_t frames = 0;
        std::vector<float> out(period * static_cast<size_t>(channels));
        while (back.size() < count && frames < limit) {
            renderer.render(out.data(), period);
            frames += period;
            done.drain(back);
        }
        return frames;
    }
};

WaveBuffer bufferOver(const std::vector<uint8_t>& bytes, int64_t user = 0) {
    WaveBuffer buffer;
    buffer.data = bytes.data();
    buffer.length = static_cast<uint32_t>(bytes.size());
    buffer.user = user;
    return buffer;
}

TEST(OutputRendererTest, PlaysEveryFormatAtTheStreamRate) {
    const struct {
        const char* name;
        WaveFormat format;
        double streamRate;
        int streamChannels;
    } cases[] = {
        {"8-bit mono 11025 to 44100 stereo", WaveFormat::pcm(11025, 1, 8), 44100, 2},
        {"16-bit mono 22050 to 48000 stereo", WaveFormat::pcm(22050, 1, 16), 48000, 2},
        {"16-bit stereo 44100 to 44100 stereo", WaveFormat::pcm(44100, 2, 16), 44100, 2},
        {"16-bit stereo 48000 to 44100 mono", WaveFormat::pcm(48000, 2, 16), 44100, 1},
        {"8-bit stereo 8000 to 48000 stereo", WaveFormat::pcm(8000, 2, 8), 48000, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.format, c.streamRate, c.streamChannels);
        const size_t frames = c.format.samplesPerSec / 2;  // half a second
        const auto bytes = sineBytes(c.format, 440.0, frames);
        WaveBuffer buffer = bufferOver(bytes);
        rig.renderer.submit(&buffer);
        const auto out = rig.render(static_cast<size_t>(c.streamRate));
        ASSERT_EQ(rig.back.size(), 1u);
        EXPECT_TRUE(buffer.done);
        EXPECT_NEAR(toneFrequency(out, c.streamChannels, c.streamRate), 440.0, 2.0);
        // A sine of amplitude 0.5 has a mean square of 0.125; half a second of it per channel.
        const double expected = 0.125 * c.streamRate / 2 * c.streamChannels;
        EXPECT_NEAR(energy(out) / expected, 1.0, 0.02);
    }
}

TEST(OutputRendererTest, BuffersComeBackInTheOrderWritten) {
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const struct {
        const char* name;
        std::vector<size_t> frames;
    } cases[] = {
        {"equal segments", std::vector<size_t>(20, 441)},
        {"mixed, some shorter than a chunk", {5000, 1, 300, 0, 2205, 17, 256, 257, 8000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(format, 44100);
        std::vector<std::vector<uint8_t>> data;
        for (const size_t n : c.frames) {
            data.push_back(sineBytes(format, 300.0, n));
        }
        std::vector<WaveBuffer> buffers;
        for (size_t i = 0; i < data.size(); ++i) {
            buffers.push_back(bufferOver(data[i], static_cast<int64_t>(i)));
        }
        for (auto& b : buffers) {
            rig.renderer.submit(&b);
        }
        rig.renderUntilBack(buffers.size(), 1000000);
        ASSERT_EQ(rig.back.size(), buffers.size());
        for (size_t i = 0; i < buffers.size(); ++i) {
            EXPECT_EQ(rig.back[i]->user, static_cast<int64_t>(i));
        }
        EXPECT_EQ(rig.renderer.underflows(), 0u);
    }
}

TEST(OutputRendererTest, PlaybackRateChangesHowLongABufferLasts) {
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 22050);  // one second
    const struct {
        uint32_t rate;
        double seconds;
    } cases[] = {{0x10000, 1.0}, {0x20000, 0.5}, {0x8000, 2.0}, {104857, 1.0 / 1.6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        Rig rig(format, 44100);
        rig.renderer.setRate(c.rate);
        WaveBuffer buffer = bufferOver(bytes);
        rig.renderer.submit(&buffer);
        const size_t frames = rig.renderUntilBack(1, 10 * 44100);
        EXPECT_NEAR(static_cast<double>(frames) / 44100, c.seconds, 0.012);
    }
}

// Periods of 256 frames at 44100 Hz on a clock whose sound comes out `latency` later.
struct LateClock {
    double now = 0;
    double latency = 0;
    void render(Rig& rig, double seconds) {
        std::vector<float> out(256 * 2);
        for (const double end = now + seconds; now < end; now += 256 / 44100.0) {
            rig.renderer.render(out.data(), 256, {now, now + latency});
            rig.done.drain(rig.back);
        }
    }
};

TEST(OutputRendererTest, ABufferComesBackWhenItsLastFrameIsHeard) {
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 11025);  // half a second
    const struct {
        double latency;
        uint32_t rate;
        double heardAt;
    } cases[] = {
        {0, 0x10000, 0.5}, {0.08, 0x10000, 0.58}, {0.08, 0x20000, 0.33}, {0.2, 0x8000, 1.2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.latency << " s, rate " << c.rate);
        Rig rig(format, 44100);
        rig.renderer.setRate(c.rate);
        WaveBuffer buffer = bufferOver(bytes);
        rig.renderer.submit(&buffer);
        LateClock clock{0, c.latency};
        while (rig.back.empty() && clock.now < 3) {
            clock.render(rig, 256 / 44100.0);
        }
        EXPECT_NEAR(clock.now, c.heardAt, 0.012);
        EXPECT_TRUE(buffer.sounded);
    }
}

// A stop returns every buffer at once; only those whose sound had begun count as sounded.
TEST(OutputRendererTest, AStopMarksTheBuffersThatHadBegunToSound) {
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 2205);  // 100 ms each, heard 50 ms late
    const struct {
        double playedSeconds;
        std::vector<bool> sounded;
    } cases[] = {
        {0.03, {false, false, false}}, {0.12, {true, false, false}}, {0.17, {true, true, false}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.playedSeconds << " s");
        Rig rig(format, 44100);
        std::vector<WaveBuffer> buffers(3, bufferOver(bytes));
        for (auto& b : buffers) {
            rig.renderer.submit(&b);
        }
        LateClock clock{0, 0.05};
        clock.render(rig, c.playedSeconds);
        rig.renderer.returnAllNow(clock.now);
        rig.done.drain(rig.back);
        ASSERT_EQ(rig.back.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(buffers[i].sounded, c.sounded[i]) << "buffer " << i;
        }
    }
}

TEST(OutputRendererTest, PauseHoldsTheBufferAndPlaysSilence) {
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 2205);
    Rig rig(format, 44100);
    WaveBuffer buffer = bufferOver(bytes);
    rig.renderer.setPaused(true);
    rig.renderer.submit(&buffer);
    const auto paused = rig.render(44100);
    EXPECT_EQ(energy(paused), 0.0);
    EXPECT_TRUE(rig.back.empty());
    rig.renderer.setPaused(false);
    const auto playing = rig.render(44100);
    EXPECT_GT(energy(playing), 0.0);
    EXPECT_EQ(rig.back.size(), 1u);
    EXPECT_EQ(rig.renderer.underflows(), 0u);
}

TEST(OutputRendererTest, CountsGapsBetweenBuffersOnly) {
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 2205);  // 100 ms, 4410 frames at 44100
    // Steps: 'w' writes a buffer, 'r' renders 100 ms, 'p' pauses, 'c' continues, 'x' resets.
    const struct {
        const char* name;
        const char* steps;
        uint32_t gaps;
    } cases[] = {
        {"silence before the first buffer", "rrrwrr", 0},
        {"the end of the last buffer", "wrrrr", 0},
        {"back to back", "wwwrrrr", 0},
        {"one late buffer", "wrrwrr", 1},
        {"two late buffers", "wrrwrrrwrr", 2},
        {"late while paused", "wrrpwrcrr", 1},
        {"pause before running dry", "wpwrrcrr", 0},
        {"reset forgets the gap", "wrrxwrr", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(format, 44100);
        std::vector<WaveBuffer> buffers(10);
        size_t written = 0;
        for (const char* s = c.steps; *s != '\0'; ++s) {
            switch (*s) {
                case 'w':
                    buffers[written] = bufferOver(bytes);
                    rig.renderer.submit(&buffers[written++]);
                    break;
                case 'r':
                    rig.render(4410, 441);
                    break;
                case 'p':
                    rig.renderer.setPaused(true);
                    break;
                case 'c':
                    rig.renderer.setPaused(false);
                    break;
                case 'x':
                    rig.renderer.requestReset();
                    break;
            }
        }
        EXPECT_EQ(rig.renderer.underflows(), c.gaps);
    }
}

// The owner raises a reset while another thread renders, as the sound system's thread does:
// every buffer must come back, in order, by the time the reset is served.
TEST(OutputRendererTest, ResetFromTheOwnerReturnsEveryBufferInOrder) {
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = sineBytes(format, 440.0, 22050);
    const struct {
        const char* name;
        bool paused;
        int queued;
    } cases[] = {{"playing", false, 20}, {"paused", true, 20}, {"nothing queued", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(format, 44100);
        std::atomic<bool> stop{false};
        std::thread audio([&] {
            std::vector<float> out(512 * 2);
            while (!stop.load()) {
                rig.renderer.render(out.data(), 512);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        rig.renderer.setPaused(c.paused);
        std::vector<WaveBuffer> buffers(static_cast<size_t>(c.queued));
        for (size_t i = 0; i < buffers.size(); ++i) {
            buffers[i] = bufferOver(bytes, static_cast<int64_t>(i));
            rig.renderer.submit(&buffers[i]);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const uint64_t ticket = rig.renderer.requestReset();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!rig.renderer.resetServed(ticket) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(rig.renderer.resetServed(ticket));
        rig.done.drain(rig.back);
        stop.store(true);
        audio.join();
        ASSERT_EQ(rig.back.size(), buffers.size());
        for (size_t i = 0; i < buffers.size(); ++i) {
            EXPECT_EQ(rig.back[i]->user, static_cast<int64_t>(i));
            EXPECT_TRUE(rig.back[i]->done);
        }
    }
}

TEST(OutputRendererTest, ReturnAllNowGivesBackThePlayingBufferFirst) {
    const WaveFormat format = WaveFormat::pcm(22050, 2, 16);
    const auto bytes = sineBytes(format, 440.0, 22050);
    Rig rig(format, 44100);
    WaveBuffer buffers[3] = {bufferOver(bytes, 0), bufferOver(bytes, 1), bufferOver(bytes, 2)};
    for (auto& b : buffers) {
        rig.renderer.submit(&b);
    }
    rig.render(4410);  // a tenth of the first buffer
    EXPECT_TRUE(rig.back.empty());
    rig.renderer.returnAllNow();
    rig.done.drain(rig.back);
    ASSERT_EQ(rig.back.size(), 3u);
    for (int64_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.back[static_cast<size_t>(i)]->user, i);
    }
    // What is written afterwards plays from its start.
    WaveBuffer again = bufferOver(bytes, 9);
    rig.renderer.submit(&again);
    rig.renderUntilBack(4, 200000);
    EXPECT_EQ(rig.back.back()->user, 9);
}

}  // namespace
}  // namespace murmelix
