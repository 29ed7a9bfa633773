#include "cli/render_waveform_command.h"

#include <cmath>

#include "audio/audio_document.h"
#include "audio/wav_reader.h"
#include "base/absolute_path.h"
#include "labels/peak_cache.h"
#include "labels/waveform_layout.h"
#include "labels/waveform_painter.h"
#include "labels/waveform_palette.h"

namespace murmelix::cli {

int runRenderWaveform(CommandLine& line, ConsoleUserInterface& ui) {
    const auto output = line.value("-o");
    const auto width = line.integer("--width", 16, 16384);
    const auto height = line.integer("--height", 32, 16384);
    const auto from = line.number("--from");
    const auto to = line.number("--to");
    const bool dark = line.flag("--dark");
    const auto args = line.positionals();
    if (args.size() != 1 || !output) {
        throw UsageError("expects an input WAV file and -o OUT.png");
    }
    if ((from && *from < 0) || (to && *to < 0) || (from && to && *to <= *from)) {
        throw UsageError("--from and --to must be seconds from 0 on, --to after --from");
    }
    AudioDocument doc;
    if (WavReader::readFile(AbsolutePath::of(args[0]), doc, ui) != 0) {
        return kExitFailed;
    }
    const double rate = doc.fileSampleRate > 0 ? doc.fileSampleRate : 1;
    WaveformView view;
    view.width = static_cast<int>(width.value_or(1200));
    view.height = static_cast<int>(height.value_or(300));
    view.firstFrame = from ? static_cast<int64_t>(std::llround(*from * rate)) : 0;
    view.endFrame = to ? static_cast<int64_t>(std::llround(*to * rate)) : doc.frameCount;
    if (view.endFrame <= view.firstFrame) {
        view.endFrame = view.firstFrame + 1;
    }
    PeakCache peaks;
    peaks.build(doc);
    const WaveformLayout layout = WaveformLayout::compute(doc, peaks, view);
    const RgbaImage image = WaveformPainter::paint(
        layout, dark ? WaveformPalette::dark() : WaveformPalette::light(), view.width, view.height);
    const Result written = image.writePng(*output);
    if (!written.ok()) {
        ui.showError(written.message());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace murmelix::cli
