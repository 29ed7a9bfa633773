// The tool on the test sound server: what it plays must come out of the null sink, and what
// it records must come from the input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

#include "../audio/wav_bytes.h"
#include "../device/sound_server_rig.h"
#include "support/cli_fixture.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
using testing::CliFixture;
using testing::MonitorRecorder;

constexpr double kRate = 44100;

// A rising chirp with an uneven envelope: every stretch of it looks different, so only the
// right alignment correlates.
std::vector<float> chirp(double seconds) {
    std::vector<float> out(static_cast<size_t>(seconds * kRate));
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        phase += 2 * M_PI * (200 + 1800 * t / seconds) / kRate;
        out[i] = static_cast<float>(0.5 * std::sin(phase) * (0.6 + 0.4 * std::sin(7 * t)));
    }
    return out;
}

std::string wavOf(const std::vector<float>& samples) {
    std::string data;
    for (float s : samples) {
        data += wav::u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 32767))));
    }
    return wav::riff(wav::fmt(1, static_cast<uint32_t>(kRate), 16) + wav::chunk("data", data));
}

// The signal as heard at a speed: stretched in time by 100 / percent.
std::vector<float> atSpeed(const std::vector<float>& in, int percent) {
    const double step = percent / 100.0;
    std::vector<float> out(static_cast<size_t>(static_cast<double>(in.size()) / step));
    for (size_t i = 0; i < out.size(); ++i) {
        const double x = static_cast<double>(i) * step;
        const size_t k = static_cast<size_t>(x);
        const double f = x - static_cast<double>(k);
        const float a = in[std::min(k, in.size() - 1)];
        const float b = in[std::min(k + 1, in.size() - 1)];
        out[i] = static_cast<float>(a + (b - a) * f);
    }
    return out;
}

size_t onset(const std::vector<float>& s, float threshold) {
    for (size_t i = 0; i < s.size(); ++i) {
        if (std::fabs(s[i]) > threshold) {
            return i;
        }
    }
    return s.size();
}

double correlationAt(const std::vector<float>& recorded, const std::vector<float>& expected,
                     long base, size_t step) {
    double xy = 0, xx = 0, yy = 0;
    for (size_t i = 0; i < expected.size(); i += step) {
        const long j = base + static_cast<long>(i);
        const double y = j >= 0 && j < static_cast<long>(recorded.size()) ? recorded[j] : 0.0;
        xy += expected[i] * y;
        xx += expected[i] * expected[i];
        yy += y * y;
    }
    return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0.0;
}

// Normalized cross-correlation of `expected` with the recording at the best lag: a coarse
// search over every position, then a fine one around the best.
double bestCorrelation(const std::vector<float>& recorded, const std::vector<float>& expected) {
    long bestBase = 0;
    double best = -1;
    const long last = static_cast<long>(recorded.size()) - static_cast<long>(expected.size()) / 2;
    for (long base = -static_cast<long>(expected.size()) / 2; base < last; base += 3) {
        const double c = correlationAt(recorded, expected, base, 8);
        if (c > best) {
            best = c;
            bestBase = base;
        }
    }
    for (long base = bestBase - 4; base <= bestBase + 4; ++base) {
        best = std::max(best, correlationAt(recorded, expected, base, 1));
    }
    return best;
}

double soundingSeconds(const std::vector<float>& s) {
    const size_t first = onset(s, 0.02f);
    size_t last = s.size();
    while (last > first && std::fabs(s[last - 1]) <= 0.02f) {
        --last;
    }
    return static_cast<double>(last - first) / kRate;
}

using PlaySoundTest = CliFixture;

TEST_F(PlaySoundTest, WhatThePlayCommandPlaysComesOutOfTheSink) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const std::vector<float> signal = chirp(1.0);
    writeFile("chirp.wav", wavOf(signal));
    for (const int percent : {100, 50, 200}) {
        MonitorRecorder monitor;
        ASSERT_TRUE(monitor.running());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const auto result = run("play {dir}/chirp.wav --speed " + std::to_string(percent));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const std::vector<float> recorded = monitor.stop();
        ASSERT_EQ(result.status, 0) << result.err;
        const std::vector<float> expected = atSpeed(signal, percent);
        EXPECT_GE(bestCorrelation(recorded, expected), 0.9) << percent << " %";
        EXPECT_NEAR(soundingSeconds(recorded), 100.0 / percent, 0.1) << percent << " %";
    }
}

TEST_F(PlaySoundTest, RecordTakesWhatTheInputHears) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    // The input is the sink's monitor (the server's default source), so play a tone into it.
    std::vector<float> tone(static_cast<size_t>(3 * kRate));
    for (size_t i = 0; i < tone.size(); ++i) {
        tone[i] =
            static_cast<float>(0.4 * std::sin(2 * M_PI * 440 * static_cast<double>(i) / kRate));
    }
    writeFile("tone.wav", wavOf(tone));
    std::thread player([this] { run("play {dir}/tone.wav"); });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto result =
        run("record -o {dir}/rec.wav --seconds 1.5 --rate 22050 --channels 1 "
            "--bits 16");
    player.join();
    ASSERT_EQ(result.status, 0) << result.err;
    const auto info = run("info {dir}/rec.wav --json");
    EXPECT_NE(info.out.find("\"channels\":1,\"sample_rate\":22050,"), std::string::npos)
        << info.out;
    // The recording holds the tone: count its rising zero crossings per second.
    const std::string bytes = slurp(path("rec.wav"));
    const size_t data = bytes.find("data") + 8;
    int crossings = 0;
    int16_t previous = 0;
    size_t frames = 0;
    for (size_t i = data; i + 1 < bytes.size(); i += 2, ++frames) {
        const auto v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                            (static_cast<uint8_t>(bytes[i + 1]) << 8));
        if (previous < 0 && v >= 0) {
            ++crossings;
        }
        previous = v;
    }
    ASSERT_GT(frames, 22050u);
    EXPECT_NEAR(crossings / (static_cast<double>(frames) / 22050), 440, 15);
}

TEST_F(PlaySoundTest, LiveOqtRecordsWhatWasHeardIntoTheSession) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    writeFile("speech.wav", wavOf(chirp(4.0)));
    const auto result =
        run("play --oqt {dir}/speech.wav --seconds 3 --seed 5 --session {dir}/s.oqt "
            "--question 'Who speaks?'");
    ASSERT_EQ(result.status, 0) << result.err;
    int queued = 0;
    int heard = 0;
    ASSERT_EQ(std::sscanf(result.err.c_str(), "%d segments queued, %d heard", &queued, &heard), 2)
        << result.err;
    // All but the 19 queued behind the one sounding at the stop; one fewer if the stop came
    // in a gap before the next had begun, one more if it came as one ended and the next began.
    EXPECT_GE(heard, queued - 20);
    EXPECT_LE(heard, queued - 18);
    // 80 ms segments for 3 s: about 37 of them sounded.
    EXPECT_NEAR(heard, 3000 / 80, 4);
    const auto show = run("session show {dir}/s.oqt --json");
    EXPECT_NE(show.out.find("\"question\":\"Who speaks?\""), std::string::npos) << show.out;
    size_t entries = 0;
    for (size_t at = 0; (at = show.out.find("\"start\":", at)) != std::string::npos; ++at) {
        ++entries;
    }
    EXPECT_EQ(entries, static_cast<size_t>(heard));
}

TEST_F(PlaySoundTest, InterruptStopsLikeTheStopButtonAndKeepsTheRecording) {
    MURMELIX_REQUIRE_SOUND_SERVER();
    const std::string command = std::string("timeout --preserve-status -s INT 1.5 '") +
                                MURMELIX_CLI + "' record -o '" + path("rec.wav") +
                                "' --seconds 60 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const auto info = run("info {dir}/rec.wav --json");
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\"sample_rate\":22050,"), std::string::npos) << info.out;
}

}  // namespace
}  // namespace murmelix
