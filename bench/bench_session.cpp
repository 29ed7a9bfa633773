// Loading and saving a session of one million entries; the figure that matters is entry
// lines per second each way (goal: above 2 million).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <list>
#include <string>

#include "base/atomic_file.h"
#include "session/session_file_reader.h"
#include "session/session_file_writer.h"

namespace {

using murmelix::SEGMENT;
using murmelix::SEQUENCE;

constexpr int kSequences = 1000;
constexpr int kEntriesPerSequence = 1000;
constexpr int64_t kEntries = int64_t{kSequences} * kEntriesPerSequence;

// Entries as a long generation at 44.1 kHz leaves them: growing starts, a few lengths,
// every tenth entry cross-faded and every fifth cut at a labelled cue.
const std::list<SEQUENCE>& bigSession() {
    static const std::list<SEQUENCE> sequences = [] {
        std::list<SEQUENCE> list;
        for (int s = 0; s < kSequences; ++s) {
            SEQUENCE& sequence = list.emplace_back();
            sequence.dateTime = "2024 03 05 14 07 09";
            sequence.question = "What does the voice say about tomorrow?";
            sequence.answer = "Something about a long journey";
            sequence.entries.reserve(kEntriesPerSequence);
            for (int e = 0; e < kEntriesPerSequence; ++e) {
                SEGMENT entry;
                entry.start = (s * 7919 + e * 3541) % 26000000;
                entry.length = 3528 + (e % 5) * 441;
                entry.number = e + 1;
                entry.index = entry.start / 3528;
                entry.fade = e % 10 == 0;
                entry.label = e % 5 == 0 ? "ka" : "";
                sequence.entries.push_back(entry);
            }
        }
        return list;
    }();
    return sequences;
}

std::string benchFile() {
    return (std::filesystem::temp_directory_path() /
            ("bench_session_" + std::to_string(::getpid()) + ".oqt"))
        .string();
}

void reportEntryLines(benchmark::State& state) {
    state.counters["entry_lines_per_second"] = benchmark::Counter(
        static_cast<double>(kEntries * state.iterations()), benchmark::Counter::kIsRate);
}

void BM_SaveSession(benchmark::State& state) {
    const auto& sequences = bigSession();
    const std::string path = benchFile();
    for (auto _ : state) {
        const auto result =
            murmelix::SessionFileWriter::save(path, "/home/u/speech.wav", sequences);
        if (!result.ok()) {
            state.SkipWithError("save failed");
            break;
        }
    }
    std::filesystem::remove(path);
    reportEntryLines(state);
}

void BM_LoadSession(benchmark::State& state) {
    const std::string path = benchFile();
    if (!murmelix::SessionFileWriter::save(path, "/home/u/speech.wav", bigSession()).ok()) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        std::string bytes;
        if (!murmelix::readWholeFile(path, bytes)) {
            state.SkipWithError("read failed");
            break;
        }
        auto contents = murmelix::SessionFileReader::parse(bytes);
        benchmark::DoNotOptimize(contents.sequences.size());
    }
    std::filesystem::remove(path);
    reportEntryLines(state);
}

void BM_RenderSessionInMemory(benchmark::State& state) {
    const auto& sequences = bigSession();
    for (auto _ : state) {
        std::string text = murmelix::SessionFileWriter::render("/home/u/speech.wav", sequences);
        benchmark::DoNotOptimize(text.data());
    }
    reportEntryLines(state);
}

void BM_ParseSessionInMemory(benchmark::State& state) {
    const std::string text =
        murmelix::SessionFileWriter::render("/home/u/speech.wav", bigSession());
    for (auto _ : state) {
        auto contents = murmelix::SessionFileReader::parse(text);
        benchmark::DoNotOptimize(contents.sequences.size());
    }
    reportEntryLines(state);
}

BENCHMARK(BM_SaveSession)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadSession)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderSessionInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseSessionInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
