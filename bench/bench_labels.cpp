// The waveform's peak cache for two hours of CD-rate stereo, against the named baseline: one
// direct min/max scan over every sample. Prints the cache / scan ratio and the cache's time
// (target: under 200 ms), and a view's columns at a whole-file zoom.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "audio/wave_format.h"
#include "labels/peak_cache.h"
#include "timing_reporter.h"

namespace murmelix {
namespace {

constexpr int kRate = 44100;
constexpr int64_t kTwoHoursOfFrames = int64_t{kRate} * 7200;

const AudioDocument& twoHours() {
    static const AudioDocument doc = [] {
        AudioDocument made;
        made.format = WaveFormat::pcm(kRate, 2, 16);
        made.data.resize(static_cast<size_t>(kTwoHoursOfFrames) * 4);
        uint32_t state = 12345;
        for (size_t i = 0; i < made.data.size(); i += 4) {
            state = state * 1664525u + 1013904223u;
            std::memcpy(&made.data[i], &state, 4);
        }
        made.commit("");
        return made;
    }();
    return doc;
}

// The baseline: the lowest and highest sample of each channel, in one pass.
void BM_DirectMinMaxScan(benchmark::State& state) {
    const AudioDocument& doc = twoHours();
    for (auto _ : state) {
        int16_t low[2] = {INT16_MAX, INT16_MAX};
        int16_t high[2] = {INT16_MIN, INT16_MIN};
        const size_t samples = doc.data.size() / 2;
        for (size_t i = 0; i < samples; i += 2) {
            int16_t pair[2];
            std::memcpy(pair, &doc.data[i * 2], 4);
            for (int c = 0; c < 2; ++c) {
                low[c] = std::min(low[c], pair[c]);
                high[c] = std::max(high[c], pair[c]);
            }
        }
        benchmark::DoNotOptimize(low);
        benchmark::DoNotOptimize(high);
    }
}
BENCHMARK(BM_DirectMinMaxScan)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PeakCacheBuild(benchmark::State& state) {
    const AudioDocument& doc = twoHours();
    for (auto _ : state) {
        PeakCache cache;
        cache.build(doc);
        benchmark::DoNotOptimize(cache.levels());
    }
}
BENCHMARK(BM_PeakCacheBuild)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ColumnsOfTheWholeFile(benchmark::State& state) {
    const AudioDocument& doc = twoHours();
    PeakCache cache;
    cache.build(doc);
    const double framesPerColumn = static_cast<double>(doc.frameCount) / 1920;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cache.columns(doc, 0, 1000.5, framesPerColumn, 1920).data());
        benchmark::DoNotOptimize(cache.columns(doc, 1, 1000.5, framesPerColumn, 1920).data());
    }
}
BENCHMARK(BM_ColumnsOfTheWholeFile)->Unit(benchmark::kMillisecond);

void printRatio(const TimingReporter& reporter) {
    const auto scan = reporter.realTime("BM_DirectMinMaxScan");
    const auto cache = reporter.realTime("BM_PeakCacheBuild");
    if (scan && cache && *scan > 0) {
        std::printf(
            "peak cache / direct min-max scan ratio: %.3f; cache of 2 h stereo: "
            "%.0f ms (target < 200 ms)\n",
            *cache / *scan, *cache);
    }
}

}  // namespace
}  // namespace murmelix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    murmelix::TimingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    murmelix::printRatio(reporter);
    benchmark::Shutdown();
    return 0;
}
