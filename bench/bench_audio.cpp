// Loading a large WAV file against a plain read of the same file, and the effects over ten
// minutes of CD-rate stereo. Prints the load / plain-read ratio at the end (target: <= 1.3;
// effects: items_per_second > 100 M samples/s).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "audio/signal_effects.h"
#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "base/atomic_file.h"
#include "base/console_user_interface.h"
#include "timing_reporter.h"

namespace murmelix {
namespace {

constexpr size_t kLargeFileBytes = 200u * 1024 * 1024;
constexpr int kRate = 44100;
constexpr int64_t kTenMinutesOfFrames = int64_t{kRate} * 600;

// A 16-bit stereo document of the given length filled with a deterministic signal.
AudioDocument stereoDocument(int64_t frames, int bits) {
    AudioDocument doc;
    doc.format = WaveFormat::pcm(kRate, 2, static_cast<uint16_t>(bits));
    doc.data.resize(static_cast<size_t>(frames) * doc.format.blockAlign);
    uint32_t state = 12345;
    for (auto& byte : doc.data) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    doc.commit("");
    return doc;
}

const std::string& largeFile() {
    static const std::string path = [] {
        const std::string name = "/tmp/murmelix_bench_audio_" + std::to_string(::getpid()) + ".wav";
        AudioDocument doc = stereoDocument(kLargeFileBytes / 4, 16);
        ConsoleUserInterface ui;
        if (WavWriter::writeDocument(name, doc, ui) != 0) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
        }
        return name;
    }();
    return path;
}

void BM_PlainRead(benchmark::State& state) {
    const std::string& path = largeFile();
    std::string contents;
    readWholeFile(path, contents);  // warm the page cache like the loads below
    for (auto _ : state) {
        std::string bytes;
        benchmark::DoNotOptimize(readWholeFile(path, bytes));
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kLargeFileBytes));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadWav(benchmark::State& state) {
    const std::string& path = largeFile();
    ConsoleUserInterface ui;
    for (auto _ : state) {
        AudioDocument doc;
        benchmark::DoNotOptimize(WavReader::readFile(path, doc, ui));
        benchmark::DoNotOptimize(doc.data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kLargeFileBytes));
}
BENCHMARK(BM_LoadWav)->Unit(benchmark::kMillisecond)->UseRealTime();

void setSamplesPerSecond(benchmark::State& state, const AudioDocument& doc) {
    state.SetItemsProcessed(state.iterations() * doc.frameCount * doc.channels());
}

void BM_Echo(benchmark::State& state) {
    AudioDocument doc = stereoDocument(kTenMinutesOfFrames, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SignalEffects::echo(doc, static_cast<int>(state.range(1)), 50);
        benchmark::ClobberMemory();
    }
    setSamplesPerSecond(state, doc);
}
BENCHMARK(BM_Echo)
    ->ArgsProduct({{8, 16}, {0, 100}})
    ->ArgNames({"bits", "delay_ms"})
    ->Unit(benchmark::kMillisecond);

void BM_Normalize(benchmark::State& state) {
    AudioDocument doc = stereoDocument(kTenMinutesOfFrames, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SignalEffects::normalize(doc);
        benchmark::ClobberMemory();
    }
    setSamplesPerSecond(state, doc);
}
BENCHMARK(BM_Normalize)->Arg(8)->Arg(16)->ArgName("bits")->Unit(benchmark::kMillisecond);

void BM_Reverse(benchmark::State& state) {
    AudioDocument doc = stereoDocument(kTenMinutesOfFrames, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SignalEffects::reverse(doc);
        benchmark::ClobberMemory();
    }
    setSamplesPerSecond(state, doc);
}
BENCHMARK(BM_Reverse)->Arg(8)->Arg(16)->ArgName("bits")->Unit(benchmark::kMillisecond);

void printRatio(const TimingReporter& reporter) {
    const auto plain = reporter.realTime("BM_PlainRead");
    const auto load = reporter.realTime("BM_LoadWav");
    if (plain && load && *plain > 0) {
        std::printf("load / plain read ratio: %.3f (target <= 1.3)\n", *load / *plain);
    }
}

}  // namespace
}  // namespace murmelix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    murmelix::TimingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    murmelix::printRatio(reporter);
    std::remove(("/tmp/murmelix_bench_audio_" + std::to_string(::getpid()) + ".wav").c_str());
    benchmark::Shutdown();
    return 0;
}
