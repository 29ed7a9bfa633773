#include "speech/level_meter.h"

#include <algorithm>
#include <cmath>

#include "speech/mono_samples.h"

namespace murmelix {

namespace {

// Progress is told every this many blocks: a few milliseconds of work.
constexpr int64_t kBlocksPerReport = 4096;

float decibels(const float* samples, int64_t count) {
    double sum = 0.0;
    for (int64_t i = 0; i < count; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    const double meanSquare = count > 0 ? sum / static_cast<double>(count) : 0.0;
    const double floor = std::pow(10.0, LevelMeter::kSilenceDb / 10.0);
    return static_cast<float>(10.0 * std::log10(std::max(meanSquare, floor)));
}

}  // namespace

Result LevelMeter::levels(const AudioDocument& doc, int64_t hop, const SpeechProgress& progress,
                          std::vector<float>& out) {
    out.clear();
    if (hop <= 0) {
        return Result::success();
    }
    const int64_t total = doc.frameCount;
    out.reserve(static_cast<size_t>((total + hop - 1) / hop));
    std::vector<float> block(static_cast<size_t>(hop));
    for (int64_t first = 0; first < total; first += hop) {
        const int64_t count = std::min(hop, total - first);
        MonoSamples::read(doc, first, count, block.data());
        out.push_back(decibels(block.data(), count));
        if (out.size() % kBlocksPerReport == 0 && progress && !progress(first + count, total)) {
            return Result::cancel();
        }
    }
    if (progress && !progress(total, total)) {
        return Result::cancel();
    }
    return Result::success();
}

}  // namespace murmelix
