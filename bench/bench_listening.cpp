// Listening tests at their intended size. The named baselines are the targets: making a test of
// 50 clips (25 sequences of a 100-sequence session and a control each) in 2 s, and the report
// of 50 clips answered by 20 listeners in 1 s; each benchmark reports "x_target", the target
// over the time taken (above 1 meets it).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <list>
#include <random>
#include <string>

#include "audio/wave_format.h"
#include "base/console_user_interface.h"
#include "listening/answer_store.h"
#include "listening/listening_analysis.h"
#include "listening/listening_test_maker.h"
#include "listening/report_page.h"
#include "random/unavailable_noise_input.h"
#include "synth/generation_settings.h"

namespace murmelix {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 22050;

// A minute of syllable-like bursts with a labelled word region every half second.
const AudioDocument& recording() {
    static const AudioDocument doc = [] {
        AudioDocument made;
        made.format = WaveFormat::pcm(kRate, 1, 16);
        const int64_t frames = int64_t{kRate} * 60;
        made.data.resize(static_cast<size_t>(frames) * 2);
        for (int64_t f = 0; f < frames; ++f) {
            const bool on = (f % (kRate / 2)) < kRate * 3 / 10;
            made.write(0, f, static_cast<int16_t>(on ? 8000.0 * std::sin(f * 0.05) : 0.0));
        }
        for (uint32_t w = 0; w < 120; ++w) {
            made.cues.push_back(
                {w + 1, w * kRate / 2, kRate * 3 / 10, "word" + std::to_string(w), ""});
        }
        made.commit("");
        return made;
    }();
    return doc;
}

std::list<SEQUENCE> session() {
    std::list<SEQUENCE> out;
    std::mt19937 random(3);
    for (int s = 0; s < 100; ++s) {
        SEQUENCE& sequence = out.emplace_back();
        sequence.dateTime = "2024 03 05 14 07 09";
        sequence.madeWith = {"--from", "300", "--source", "pseudo", "--seed", std::to_string(s)};
        for (int e = 0; e < 30; ++e) {  // about 10 s
            sequence.entries.push_back({static_cast<int32_t>(random() % (kRate * 59)),
                                        kRate * 3 / 10, e + 1, -1, "", false});
        }
    }
    return out;
}

std::string scratch(const char* name) {
    return (fs::temp_directory_path() /
            ("murmelix-bench-" + std::string(name) + "-" + std::to_string(::getpid())))
        .string();
}

void BM_MakeTest(benchmark::State& state) {
    const std::list<SEQUENCE> sequences = session();
    ConsoleUserInterface ui;
    UnavailableNoiseInput noise;
    ListeningTestRequest request;
    for (int n = 1; n <= 25; ++n) {
        request.sequences.push_back(n * 4);
    }
    for (auto _ : state) {
        const std::string folder = scratch("make");
        ListeningTest test;
        if (!ListeningTestMaker::make(folder, "s.oqt", sequences, recording(), request, noise, ui,
                                      {}, test)
                 .ok()) {
            state.SkipWithError("the test could not be made");
        }
        state.PauseTiming();
        fs::remove_all(folder);
        state.ResumeTiming();
    }
    state.counters["x_target"] = benchmark::Counter(2.0 * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MakeTest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Report(benchmark::State& state) {
    const std::list<SEQUENCE> sequences = session();
    ConsoleUserInterface ui;
    UnavailableNoiseInput noise;
    ListeningTestRequest request;
    for (int n = 1; n <= 25; ++n) {
        request.sequences.push_back(n);
    }
    const std::string folder = scratch("report");
    ListeningTest test;
    if (!ListeningTestMaker::make(folder, "s.oqt", sequences, recording(), request, noise, ui, {},
                                  test)
             .ok()) {
        state.SkipWithError("the test could not be made");
        return;
    }
    const char* const words[] = {"river", "paper", "hello", "nothing", "the", "yellow", "boat"};
    std::vector<SheetRow> answers;
    std::mt19937 random(5);
    for (int l = 0; l < 20; ++l) {
        for (const ListeningClip& clip : test.clips) {
            answers.push_back({"listener " + std::to_string(l), clip.code,
                               std::string(words[random() % 7]) + " " + words[random() % 7]});
        }
    }
    for (auto _ : state) {
        const ListeningResults results = ListeningAnalysis::of(test, answers, folder, ui);
        benchmark::DoNotOptimize(ReportPage::html(test, results).size());
    }
    fs::remove_all(folder);
    state.counters["x_target"] = benchmark::Counter(1.0 * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Report)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace murmelix

BENCHMARK_MAIN();
