// One redraw of the waveform window, zoomed in: the layout of the view and its painting with
// QPainter into a QImage, as the window does on every update while a segment plays. The
// named baseline is one frame at 60 Hz, 16 ms: the ratio printed is redraw / 16 ms (target
// under 1). The document is 30 minutes of CD-rate stereo with a region every 2 seconds;
// the view shows 20 seconds across 1600 pixels, 400 high.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstring>

#include "audio/wave_format.h"
#include "gui/form_waveform.h"
#include "labels/peak_cache.h"
#include "labels/waveform_layout.h"
#include "timing_reporter.h"

namespace murmelix {
namespace {

constexpr int kRate = 44100;
constexpr int kWidth = 1600;
constexpr int kHeight = 400;
constexpr double kBaselineMs = 16.0;

struct Scene {
    AudioDocument doc;
    PeakCache peaks;

    Scene() {
        doc.format = WaveFormat::pcm(kRate, 2, 16);
        const int64_t frames = int64_t{kRate} * 1800;
        doc.data.resize(static_cast<size_t>(frames) * 4);
        uint32_t state = 7;
        for (size_t i = 0; i < doc.data.size(); i += 4) {
            state = state * 1664525u + 1013904223u;
            std::memcpy(&doc.data[i], &state, 4);
        }
        for (uint32_t k = 0; k < 900; ++k) {
            doc.cues.push_back(
                {k + 1, k * 2 * kRate, kRate * 3 / 2, "Region " + std::to_string(k + 1), ""});
        }
        doc.commit("");
        peaks.build(doc);
    }
};

void BM_ZoomedRedraw(benchmark::State& state) {
    static const Scene scene;
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    const WaveformPalette palette = WaveformPalette::light();
    int64_t first = int64_t{kRate} * 600;
    for (auto _ : state) {
        WaveformView view;
        view.width = kWidth;
        view.height = kHeight;
        view.firstFrame = first;
        view.endFrame = first + int64_t{kRate} * 20;
        view.highlight = std::make_pair(first + kRate * 4, first + kRate * 5);
        view.cursorFrame = first + kRate * 7;
        const WaveformLayout layout = WaveformLayout::compute(scene.doc, scene.peaks, view);
        QPainter painter(&image);
        TFormWaveform::paintLayout(painter, layout, palette, kHeight);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        first += kRate / 10;  // a little further each time, as while scrolling
    }
}
BENCHMARK(BM_ZoomedRedraw)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void printRatio(const TimingReporter& reporter) {
    const double ms = reporter.realTime("BM_ZoomedRedraw").value_or(0.0);
    std::printf("zoomed redraw / one 60 Hz frame (16 ms) ratio: %.3f; redraw %.2f ms\n",
                ms / kBaselineMs, ms);
}

}  // namespace
}  // namespace murmelix

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    murmelix::TimingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    murmelix::printRatio(reporter);
    benchmark::Shutdown();
    return 0;
}
