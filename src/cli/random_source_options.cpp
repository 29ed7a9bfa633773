#include "cli/random_source_options.h"

#include <charconv>
#include <limits>

#include "cli/sound_card_input.h"
#include "random/number_format.h"

namespace murmelix::cli {

namespace {

RandomSourceKind kindNamed(const std::string& name) {
    if (name == "pseudo") {
        return RandomSourceKind::Pseudo;
    }
    if (name == "fractal") {
        return RandomSourceKind::Fractal;
    }
    if (name == "file") {
        return RandomSourceKind::File;
    }
    if (name == "soundcard") {
        return RandomSourceKind::SoundCard;
    }
    throw UsageError("--source expects pseudo, fractal, file or soundcard, not '" + name + "'");
}

uint64_t parseSeed(const std::string& text) {
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        throw UsageError("--seed expects a whole number from 0 to 18446744073709551615, not '" +
                         text + "'");
    }
    return value;
}

long double parseParameter(const std::string& option, const std::string& text) {
    const auto value = NumberFormat::parse(text);
    if (!value) {
        throw UsageError(option + " expects a number, not '" + text + "'");
    }
    return static_cast<double>(*value);
}

}  // namespace

RandomSourceOptions RandomSourceOptions::read(CommandLine& line) {
    RandomSourceOptions options;
    if (const auto source = line.value("--source")) {
        options.kind = kindNamed(*source);
    }
    if (const auto seed = line.value("--seed")) {
        options.seed = parseSeed(*seed);
    }
    options.absolute = line.flag("--absolute");
    if (const auto r = line.value("--r")) {
        options.growthConstant = parseParameter("--r", *r);
    }
    if (const auto x = line.value("--x")) {
        options.population = parseParameter("--x", *x);
    }
    options.file = line.value("--file").value_or("");
    options.loop = !line.flag("--no-loop");
    options.device = static_cast<int>(
        line.integer("--device", -1, std::numeric_limits<int>::max()).value_or(-1));
    if (options.kind == RandomSourceKind::File && options.file.empty()) {
        throw UsageError("--source file needs --file F.pcm");
    }
    return options;
}

void RandomSourceOptions::configure(RandomSource& source) const {
    if (seed) {
        source.pseudoGenerator().setState(*seed);
    }
    source.setUseAbsolute(absolute);
    source.setGrowthConstant(growthConstant);
    source.setPopulation(population);
    source.setLoopFile(loop);
    source.setInputDevice(device);
    source.SelectRandomSource(static_cast<int32_t>(kind), file, false);
}

std::unique_ptr<NoiseInput> makeNoiseInput() {
    return std::make_unique<SoundCardInput>();
}

}  // namespace murmelix::cli
