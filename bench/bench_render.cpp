// Offline rendering of an OQT: ten minutes of CD-rate stereo cut into 10 000 segments and
// written as a labelled WAV file, against a plain loop writing a file of the same size.
// Prints times real time and the ratio to the plain write (target: within 2x).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "audio/audio_document.h"
#include "base/atomic_file.h"
#include "base/console_user_interface.h"
#include "random/random_source.h"
#include "random/unavailable_noise_input.h"
#include "synth/offline_renderer.h"
#include "synth/random_source_draw.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix {
namespace {

constexpr int kRate = 44100;
constexpr int64_t kFrames = int64_t{kRate} * 600;
constexpr int64_t kSegments = 10000;

const AudioDocument& recording() {
    static const AudioDocument doc = [] {
        AudioDocument d;
        d.format = {1, 2, kRate, kRate * 4, 4, 16, 0};
        d.data.resize(static_cast<size_t>(kFrames) * 4);
        uint32_t state = 99;
        for (auto& byte : d.data) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(state >> 24);
        }
        d.commit("/tmp/recording.wav");
        return d;
    }();
    return doc;
}

std::string outputPath() {
    return "/tmp/murmelix_bench_render_" + std::to_string(::getpid());
}

double g_renderSeconds = 0;
double g_plainSeconds = 0;
double g_audioSeconds = 0;

void BM_RenderToWav(benchmark::State& state) {
    const AudioDocument& doc = recording();
    ConsoleUserInterface ui;
    SegmentControls controls;  // the program's defaults: 80 ms, Z-Cross on
    size_t bytes = 0;
    for (auto _ : state) {
        UnavailableNoiseInput input;
        RandomSource source(ui, input);
        source.pseudoGenerator().setState(1);
        RandomSourceDraw draw(source);
        OfflineRenderer renderer;
        const auto sequence = renderer.render(doc, controls, draw, {kSegments, 0}, ui);
        if (!sequence || SequenceWavWriter::write(outputPath() + ".wav", *sequence, doc,
                                                  doc.fileName, ui) != 0) {
            state.SkipWithError("render failed");
            return;
        }
        bytes = 0;
        for (const SEGMENT& e : sequence->entries) {
            bytes += static_cast<size_t>(e.length) * 4;
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    g_audioSeconds = static_cast<double>(bytes) / 4 / kRate;
    std::remove((outputPath() + ".wav").c_str());
}

void BM_PlainWrite(benchmark::State& state) {
    const AudioDocument& doc = recording();
    const size_t bytes = static_cast<size_t>(g_audioSeconds * kRate) * 4;
    for (auto _ : state) {
        AtomicFile file(outputPath() + ".raw");
        bool ok = file.open();
        for (size_t done = 0; ok && done < bytes; done += 7056) {
            const size_t piece = std::min<size_t>(7056, bytes - done);
            ok = file.write(doc.data.data() + (done % (doc.data.size() - 7056)), piece);
        }
        if (!ok || !file.commit()) {
            state.SkipWithError("write failed");
            return;
        }
    }
    std::remove((outputPath() + ".raw").c_str());
}

class Reporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.benchmark_name().find("BM_RenderToWav") == 0) {
                g_renderSeconds = seconds;
            } else if (run.benchmark_name().find("BM_PlainWrite") == 0) {
                g_plainSeconds = seconds;
            }
        }
    }
};

BENCHMARK(BM_RenderToWav)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace murmelix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    murmelix::Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    using namespace murmelix;
    if (g_renderSeconds > 0 && g_plainSeconds > 0) {
        std::printf(
            "render: %.0f s of audio in %.3f s = %.0fx real time; %.2fx a plain write "
            "of the same size (target <= 2)\n",
            g_audioSeconds, g_renderSeconds, g_audioSeconds / g_renderSeconds,
            g_renderSeconds / g_plainSeconds);
    }
    benchmark::Shutdown();
    return 0;
}
