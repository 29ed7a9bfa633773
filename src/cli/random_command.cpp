#include "cli/random_command.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/random_source_options.h"
#include "random/random_number_log.h"
#include "random/random_source.h"

namespace murmelix::cli {

namespace {

constexpr long long kMaxCount = 1'000'000'000'000;

struct RandomOptions {
    RandomSourceOptions source;
    long long count = 10;
    int32_t bound = 10;
    bool numbers = false;
    std::optional<std::string> output;
};

RandomOptions readOptions(CommandLine& line) {
    RandomOptions options;
    options.source = RandomSourceOptions::read(line);
    options.count = line.integer("--count", 0, kMaxCount).value_or(10);
    options.bound = static_cast<int32_t>(
        line.integer("--bound", 1, std::numeric_limits<int32_t>::max()).value_or(10));
    options.numbers = line.flag("--numbers");
    options.output = line.value("-o");
    const auto rest = line.positionals();
    if (!rest.empty()) {
        throw UsageError("unexpected argument '" + rest.front() + "'");
    }
    return options;
}

// Standard output in large writes; one line per call (or per draw, as the source's
// listener).
class LineOutput : public RandomSourceListener {
  public:
    void drawLogged(std::string_view text) override { add(text); }
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
    if (options.count < 1) {
        return kExitOk;  // nothing to draw: no file is opened, an existing one stays
    }
    const auto input = makeNoiseInput();
    RandomNumberLog log(ui);
    LineOutput output;
    // The log texts go to the file, or to standard output unless the numbers go there.
    RandomSourceListener* listener = nullptr;
    if (options.output) {
        listener = &log;
    } else if (!options.numbers) {
        listener = &output;
    }
    RandomSource source(ui, *input, listener);
    options.source.configure(source);
    if (options.output && !log.beginExport(source, *options.output)) {
        return kExitFailed;
    }
    char number[16];
    for (long long i = 0; i < options.count && !source.halted() && !log.writeFailed(); ++i) {
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
