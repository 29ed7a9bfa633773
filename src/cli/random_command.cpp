#include "cli/random_command.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "random/number_format.h"
#include "random/random_number_log.h"
#include "random/random_source.h"
#include "random/unavailable_noise_input.h"

namespace murmelix::cli {

namespace {

constexpr long long kMaxCount = 1'000'000'000'000;

struct RandomOptions {
    RandomSourceKind kind = RandomSourceKind::Pseudo;
    std::optional<uint64_t> seed;
    bool absolute = false;
    long double growthConstant = static_cast<double>(3.8);
    long double population = static_cast<double>(0.5);
    std::string file;
    bool loop = true;
    int device = -1;
    long long count = 10;
    int32_t bound = 10;
    bool numbers = false;
    std::optional<std::string> output;
};

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

// The program keeps r and x as the settings file stores them, in double precision, so
// "--r 3.8" and the default give the same orbit.
long double parseParameter(const std::string& option, const std::string& text) {
    const auto value = NumberFormat::parse(text);
    if (!value) {
        throw UsageError(option + " expects a number, not '" + text + "'");
    }
    return static_cast<double>(*value);
}

RandomOptions readOptions(CommandLine& line) {
    RandomOptions options;
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
    options.count = line.integer("--count", 0, kMaxCount).value_or(10);
    options.bound = static_cast<int32_t>(
        line.integer("--bound", 1, std::numeric_limits<int32_t>::max()).value_or(10));
    options.numbers = line.flag("--numbers");
    options.output = line.value("-o");
    const auto rest = line.positionals();
    if (!rest.empty()) {
        throw UsageError("unexpected argument '" + rest.front() + "'");
    }
    if (options.kind == RandomSourceKind::File && options.file.empty()) {
        throw UsageError("--source file needs --file F.pcm");
    }
    return options;
}

// The tool has no device layer of its own yet; the sound card is refused through the same
// path a missing device would take in the program.
std::unique_ptr<NoiseInput> makeNoiseInput() {
    return std::make_unique<UnavailableNoiseInput>();
}

void configure(RandomSource& source, const RandomOptions& options) {
    if (options.seed) {
        source.pseudoGenerator().setState(*options.seed);
    }
    source.setUseAbsolute(options.absolute);
    source.setGrowthConstant(options.growthConstant);
    source.setPopulation(options.population);
    source.setLoopFile(options.loop);
    source.setInputDevice(options.device);
    source.SelectRandomSource(static_cast<int32_t>(options.kind), options.file, false);
}

// Standard output in large writes; one line per call.
class LineOutput {
  public:
    void add(std::string_view text) {
        buffer_.append(text).push_back('\n');
        if (buffer_.size() >= kFlushSize) {
            flush();
        }
    }
    bool flush() {
        ok_ = ok_ && std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) == buffer_.size();
        buffer_.clear();
        return ok_ && std::fflush(stdout) == 0;
    }

  private:
    static constexpr size_t kFlushSize = 1 << 16;
    std::string buffer_;
    bool ok_ = true;
};

}  // namespace

int runRandom(CommandLine& line, ConsoleUserInterface& ui) {
    const RandomOptions options = readOptions(line);
    const auto input = makeNoiseInput();
    RandomSource source(ui, *input);
    RandomNumberLog log(ui);
    LineOutput output;
    if (options.output) {
        source.setLogSink([&log](std::string_view text) { log.WriteLogLine(text); });
    } else if (!options.numbers) {
        source.setLogSink([&output](std::string_view text) { output.add(text); });
    }
    configure(source, options);
    if (options.output && !log.beginExport(source, *options.output)) {
        return kExitFailed;
    }
    char number[16];
    for (long long i = 0; i < options.count && !source.halted(); ++i) {
        const int32_t drawn = source.NextRandomNumber(options.bound);
        if (options.numbers && !source.halted()) {
            const auto end = std::to_chars(number, number + sizeof number, drawn).ptr;
            output.add(std::string_view(number, static_cast<size_t>(end - number)));
        }
    }
    if (options.output) {
        log.endExport();
    }
    if (!output.flush()) {
        std::fprintf(stderr, "murmelix-cli random: can't write to standard output\n");
        return kExitFailed;
    }
    return source.halted() || ui.errorCount() > 0 ? kExitFailed : kExitOk;
}

}  // namespace murmelix::cli
