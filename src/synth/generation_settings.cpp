#include "synth/generation_settings.h"

#include <array>
#include <charconv>

#include "base/text_format.h"

namespace murmelix {

std::string GenerationSettings::exact(double value) {
    // Neither the locale's decimal comma nor more digits than the value needs.
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

namespace {

void addSegmentControls(const SegmentControls& controls, std::vector<std::string>& out) {
    out.insert(out.end(), {"--from", std::to_string(controls.durationMs)});
    if (controls.segTo) {
        out.insert(out.end(), {"--to", std::to_string(controls.duration2Ms)});
    }
    if (controls.overlap) {
        out.emplace_back("--overlap");
    }
    if (!controls.zeroCrossAdjust) {
        out.emplace_back("--no-zero-cross");
    }
    if (controls.crossFade) {
        out.emplace_back("--cross-fade");
    }
    if (controls.useCueList) {
        out.emplace_back("--cues");
    }
}

const char* sourceName(RandomSourceKind kind) {
    switch (kind) {
        case RandomSourceKind::SoundCard:
            return "soundcard";
        case RandomSourceKind::File:
            return "file";
        case RandomSourceKind::Fractal:
            return "fractal";
        case RandomSourceKind::Pseudo:
            break;
    }
    return "pseudo";
}

void addSource(const RandomSource& source, std::vector<std::string>& out) {
    out.insert(out.end(), {"--source", sourceName(source.kind())});
    switch (source.kind()) {
        case RandomSourceKind::Pseudo:
            out.insert(out.end(), {"--seed", std::to_string(source.pseudoGenerator().state())});
            return;
        case RandomSourceKind::Fractal:
            // Double precision, as the settings file keeps the map's values.
            out.insert(
                out.end(),
                {"--r", GenerationSettings::exact(static_cast<double>(source.growthConstant())),
                 "--x", GenerationSettings::exact(static_cast<double>(source.population()))});
            break;
        case RandomSourceKind::File:
            out.insert(out.end(), {"--file", source.fileName()});
            if (!source.loopFile()) {
                out.emplace_back("--no-loop");
            }
            return;
        case RandomSourceKind::SoundCard:
            if (source.inputDevice() >= 0) {
                out.insert(out.end(), {"--device", std::to_string(source.inputDevice())});
            }
            break;
    }
    if (source.useAbsolute()) {
        out.emplace_back("--absolute");
    }
}

}  // namespace

std::vector<std::string> GenerationSettings::arguments(const SegmentControls& controls,
                                                       const RandomSource& source,
                                                       int speedPercent) {
    std::vector<std::string> out;
    addSegmentControls(controls, out);
    addSource(source, out);
    if (speedPercent != 100) {
        out.insert(out.end(), {"--speed", std::to_string(speedPercent)});
    }
    return out;
}

double GenerationSettings::startForSeed(unsigned long long seed) {
    // The fractional parts of multiples of the golden ratio lie evenly spread.
    constexpr double kGolden = 0.6180339887498949;
    const double spread = static_cast<double>(seed % 1000003) * kGolden;
    return 0.01 + 0.98 * (spread - static_cast<double>(static_cast<long long>(spread)));
}

}  // namespace murmelix
