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

namespace {

template <typename Number>
bool parsed(const std::string& text, Number& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

struct SourceSettings {
    RandomSourceKind kind = RandomSourceKind::Pseudo;
    std::string file;
};

bool applyFlag(const std::string& option, SegmentControls& controls, RandomSource& source) {
    if (option == "--overlap") {
        controls.overlap = true;
    } else if (option == "--cross-fade") {
        controls.crossFade = true;
    } else if (option == "--cues") {
        controls.useCueList = true;
    } else if (option == "--no-zero-cross") {
        controls.zeroCrossAdjust = false;
    } else if (option == "--no-loop") {
        source.setLoopFile(false);
    } else if (option == "--absolute") {
        source.setUseAbsolute(true);
    } else {
        return false;
    }
    return true;
}

bool applySource(const std::string& name, SourceSettings& settings) {
    const std::pair<const char*, RandomSourceKind> kinds[] = {
        {"pseudo", RandomSourceKind::Pseudo},
        {"fractal", RandomSourceKind::Fractal},
        {"file", RandomSourceKind::File},
        {"soundcard", RandomSourceKind::SoundCard}};
    for (const auto& [known, kind] : kinds) {
        if (name == known) {
            settings.kind = kind;
            return true;
        }
    }
    return false;
}

bool applyValue(const std::string& option, const std::string& value, SegmentControls& controls,
                RandomSource& source, SourceSettings& settings, int& speed) {
    double number = 0;
    uint64_t seed = 0;
    int device = 0;
    if (option == "--from") {
        return parsed(value, controls.durationMs);
    }
    if (option == "--to") {
        controls.segTo = true;
        return parsed(value, controls.duration2Ms);
    }
    if (option == "--speed") {
        return parsed(value, speed);
    }
    if (option == "--seed" && parsed(value, seed)) {
        source.pseudoGenerator().setState(seed);
        return true;
    }
    if (option == "--r" && parsed(value, number)) {
        source.setGrowthConstant(number);
        return true;
    }
    if (option == "--x" && parsed(value, number)) {
        source.setPopulation(number);
        return true;
    }
    if (option == "--device" && parsed(value, device)) {
        source.setInputDevice(device);
        return true;
    }
    if (option == "--file") {
        settings.file = value;
        return true;
    }
    return option == "--source" && applySource(value, settings);
}

bool takesValue(const std::string& option) {
    for (const char* name :
         {"--from", "--to", "--speed", "--seed", "--r", "--x", "--device", "--file", "--source"}) {
        if (option == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

Result GenerationSettings::apply(const std::vector<std::string>& arguments,
                                 SegmentControls& controls, RandomSource& source,
                                 int& speedPercent) {
    controls = SegmentControls{};
    speedPercent = 100;
    SourceSettings settings;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const bool valued = takesValue(arguments[i]) && i + 1 < arguments.size();
        const std::string* value = valued ? &arguments[i + 1] : nullptr;
        const bool applied =
            valued ? applyValue(arguments[i], *value, controls, source, settings, speedPercent)
                   : !takesValue(arguments[i]) && applyFlag(arguments[i], controls, source);
        if (!applied) {
            return Result::failure(formatText("The setting '%s%s%s' is not one Murmelix keeps.",
                                              arguments[i].c_str(), value ? " " : "",
                                              value ? value->c_str() : ""));
        }
        i += valued ? 1 : 0;
    }
    source.SelectRandomSource(static_cast<int32_t>(settings.kind), settings.file, false);
    return Result::success();
}

double GenerationSettings::startForSeed(unsigned long long seed) {
    // The fractional parts of multiples of the golden ratio lie evenly spread.
    constexpr double kGolden = 0.6180339887498949;
    const double spread = static_cast<double>(seed % 1000003) * kGolden;
    return 0.01 + 0.98 * (spread - static_cast<double>(static_cast<long long>(spread)));
}

}  // namespace murmelix
