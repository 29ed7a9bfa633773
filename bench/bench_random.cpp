// Numbers per second the export writes for each kind of random source.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/console_user_interface.h"
#include "random/random_number_log.h"
#include "random/random_source.h"
#include "random/unavailable_noise_input.h"

namespace {

using namespace murmelix;

std::filesystem::path benchFolder() {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("murmelix_bench_random_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

// One second of 16-bit noise, looped by the file source.
std::string noiseFile(const std::filesystem::path& folder) {
    const std::string path = (folder / "noise.pcm").string();
    std::ofstream out(path, std::ios::binary);
    PseudoGenerator generator;
    generator.setState(12345);
    for (int i = 0; i < 44100; ++i) {
        const auto sample = static_cast<uint16_t>(generator.next());
        out.put(static_cast<char>(sample & 0xFF)).put(static_cast<char>(sample >> 8));
    }
    return path;
}

void exportNumbers(benchmark::State& state, RandomSourceKind kind) {
    const auto folder = benchFolder();
    const std::string noise = noiseFile(folder);
    const std::string target = (folder / "export.txt").string();
    ConsoleUserInterface ui;
    UnavailableNoiseInput input;
    RandomNumberLog log(ui);
    RandomSource source(ui, input, &log);
    source.pseudoGenerator().setState(1);
    source.SelectRandomSource(static_cast<int32_t>(kind), noise, false);
    const int64_t count = state.range(0);
    for (auto _ : state) {
        const auto result = log.ExportRandomNumbers(source, count, target);
        if (result.outcome != RandomNumberLog::ExportOutcome::Done) {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(target));
    std::filesystem::remove_all(folder);
}

void BM_ExportPseudo(benchmark::State& state) {
    exportNumbers(state, RandomSourceKind::Pseudo);
}
void BM_ExportFractalComparison(benchmark::State& state) {
    exportNumbers(state, RandomSourceKind::Fractal);
}
void BM_ExportFileComparison(benchmark::State& state) {
    exportNumbers(state, RandomSourceKind::File);
}

BENCHMARK(BM_ExportPseudo)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFractalComparison)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFileComparison)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
