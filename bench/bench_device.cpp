// The sound device layer's costs.
//
// Render/Capture: what the audio callback spends per second of audio, without a sound
// system (the "core_share" counter is the share of one core a second of audio needs; target
// well under 5 %).
//
// LiveRing: a real output device playing a ring of twenty 20 ms buffers that are written
// again as they come back, for MURMELIX_BENCH_SECONDS seconds (default 60), through the
// test sound server (scripts/sound-server.sh start). Counters: underflows (target 0), the
// callback's load as PortAudio measures it, the whole process's CPU share, and the time from
// the wake-up to the buffer being queued again (p50, p99, max, in microseconds).
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "device/done_queue.h"
#include "device/input_capturer.h"
#include "device/output_renderer.h"
#include "device/port_audio_output_device.h"

namespace murmelix {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> noiseBytes(size_t bytes) {
    std::vector<uint8_t> out(bytes);
    uint32_t state = 12345;
    for (auto& b : out) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(state >> 24);
    }
    return out;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Periods of 512 frames in a second at 44100 Hz.
constexpr int kPeriodsPerSecond = 44100 / 512;

// Wall time per iteration (a second of audio, less the last part period) as a share of
// that second.
double coreShare(Clock::time_point start, benchmark::IterationCount iterations) {
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double audio = static_cast<double>(iterations) * kPeriodsPerSecond * 512 / 44100;
    return audio > 0 ? elapsed / audio : 0.0;
}

// Renders one second of 44100 Hz stereo per iteration from 20 ms buffers of the given
// format, rewriting each buffer as it comes back, in callback periods of 512 frames.
void Render(benchmark::State& state) {
    const WaveFormat format = WaveFormat::pcm(static_cast<uint32_t>(state.range(0)),
                                              static_cast<uint16_t>(state.range(1)),
                                              static_cast<uint16_t>(state.range(2)));
    const auto rate = static_cast<uint32_t>(state.range(3) * 65536 / 100);
    DoneQueue done(256);
    OutputRenderer renderer(done, 256);
    renderer.configure(format, 44100, 2);
    renderer.setRate(rate);
    const auto bytes = noiseBytes(format.samplesPerSec / 50 * format.blockAlign);
    std::vector<WaveBuffer> ring(20);
    for (auto& b : ring) {
        b.data = bytes.data();
        b.length = static_cast<uint32_t>(bytes.size());
        renderer.submit(&b);
    }
    std::vector<float> out(512 * 2);
    std::vector<WaveBuffer*> back;
    const auto start = Clock::now();
    for (auto _ : state) {
        for (int period = 0; period < kPeriodsPerSecond; ++period) {
            renderer.render(out.data(), 512);
            back.clear();
            done.drain(back);
            for (WaveBuffer* b : back) {
                renderer.submit(b);
            }
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["core_share"] = coreShare(start, state.iterations());
    state.counters["underflows"] = renderer.underflows();
}
BENCHMARK(Render)
    ->ArgNames({"rate", "ch", "bits", "speed"})
    ->Args({22050, 1, 16, 100})
    ->Args({22050, 1, 16, 160})
    ->Args({44100, 2, 16, 100})
    ->Args({11025, 1, 8, 100})
    ->Args({48000, 2, 16, 50});

// Captures one second of 44100 Hz stereo per iteration into 100 ms blocks of the format.
void Capture(benchmark::State& state) {
    const WaveFormat format = WaveFormat::pcm(static_cast<uint32_t>(state.range(0)),
                                              static_cast<uint16_t>(state.range(1)),
                                              static_cast<uint16_t>(state.range(2)));
    DoneQueue done(256);
    InputCapturer capturer(done, 256);
    capturer.configure(format, 44100, 2);
    std::vector<uint8_t> block(format.samplesPerSec / 10 * format.blockAlign);
    std::vector<WaveBuffer> headers(2);
    for (auto& h : headers) {
        h.recordData = block.data();
        h.length = static_cast<uint32_t>(block.size());
        capturer.submit(&h);
    }
    std::vector<float> in(512 * 2);
    for (size_t i = 0; i < in.size(); ++i) {
        in[i] = static_cast<float>(std::sin(0.05 * static_cast<double>(i)) * 0.5);
    }
    std::vector<WaveBuffer*> back;
    const auto start = Clock::now();
    for (auto _ : state) {
        for (int period = 0; period < kPeriodsPerSecond; ++period) {
            capturer.capture(in.data(), 512);
            back.clear();
            done.drain(back);
            for (WaveBuffer* b : back) {
                capturer.submit(b);
            }
        }
    }
    state.counters["core_share"] = coreShare(start, state.iterations());
}
BENCHMARK(Capture)
    ->ArgNames({"rate", "ch", "bits"})
    ->Args({44100, 2, 16})
    ->Args({22050, 1, 16})
    ->Args({8000, 1, 8});

bool reachSoundServer() {
    const char* server = std::getenv("PULSE_SERVER");
    const char* folder = std::getenv("MURMELIX_PULSE_DIR");
    const std::string socket =
        std::string(folder != nullptr ? folder : "/tmp/murmelix-pulse") + "/native";
    if ((server == nullptr || *server == '\0') && std::filesystem::exists(socket)) {
        setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    }
    return std::system("timeout 5 pactl info >/dev/null 2>&1") == 0;
}

void LiveRing(benchmark::State& state) {
    if (!reachSoundServer()) {
        state.SkipWithError("no sound server answers; start scripts/sound-server.sh");
        return;
    }
    const char* secondsText = std::getenv("MURMELIX_BENCH_SECONDS");
    const double seconds = secondsText != nullptr ? std::atof(secondsText) : 60.0;
    const WaveFormat format = WaveFormat::pcm(22050, 1, 16);
    const auto bytes = noiseBytes(441 * 2);  // 20 ms
    for (auto _ : state) {
        PortAudioOutputDevice device;
        if (device.open(-1, format, false) != 0) {
            state.SkipWithError("the default output device did not open");
            return;
        }
        std::vector<WaveBuffer> ring(20);
        device.pause();
        for (size_t i = 0; i < ring.size(); ++i) {
            ring[i].data = bytes.data();
            ring[i].length = static_cast<uint32_t>(bytes.size());
            ring[i].user = static_cast<int64_t>(i);
            device.write(&ring[i]);
        }
        device.restart();
        std::vector<double> refillMicros;
        std::vector<WaveBuffer*> back;
        double loadSum = 0;
        int loadSamples = 0;
        int64_t expected = 0;
        int64_t outOfOrder = 0;
        const double cpuStart = cpuSeconds();
        const auto start = Clock::now();
        const auto end = start + std::chrono::duration<double>(seconds);
        auto nextLoadSample = start;
        while (Clock::now() < end) {
            pollfd watched{device.notifyFd(), POLLIN, 0};
            if (poll(&watched, 1, 100) <= 0) {
                continue;
            }
            const auto woke = Clock::now();
            back.clear();
            device.pollDone(back);
            for (WaveBuffer* b : back) {
                outOfOrder += b->user != expected ? 1 : 0;
                b->user = expected + 20;
                ++expected;
                device.write(b);
            }
            refillMicros.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - woke).count());
            if (woke >= nextLoadSample) {
                loadSum += device.callbackLoad();
                ++loadSamples;
                nextLoadSample = woke + std::chrono::milliseconds(500);
            }
        }
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = cpuSeconds() - cpuStart;
        std::sort(refillMicros.begin(), refillMicros.end());
        auto at = [&](double q) {
            return refillMicros.empty()
                       ? 0.0
                       : refillMicros[static_cast<size_t>(q * (refillMicros.size() - 1))];
        };
        state.counters["seconds"] = wall;
        state.counters["buffers"] = static_cast<double>(expected);
        state.counters["out_of_order"] = static_cast<double>(outOfOrder);
        state.counters["underflows"] = device.underflowCount();
        state.counters["callback_load"] = loadSamples > 0 ? loadSum / loadSamples : 0.0;
        state.counters["process_cpu_share"] = cpu / wall;
        state.counters["refill_p50_us"] = at(0.5);
        state.counters["refill_p99_us"] = at(0.99);
        state.counters["refill_max_us"] = at(1.0);
        device.reset();
        device.close();
    }
}
BENCHMARK(LiveRing)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace murmelix

BENCHMARK_MAIN();
