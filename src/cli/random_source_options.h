#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "random/noise_input.h"
#include "random/random_source.h"

namespace murmelix::cli {

// The random-source options every generating command shares:
//   [--source pseudo|fractal|file|soundcard] [--seed N] [--absolute] [--r R] [--x X]
//   [--file F.pcm] [--no-loop] [--device N]
struct RandomSourceOptions {
    static constexpr const char* kUsage =
        "[--source pseudo|fractal|file|soundcard] [--seed N] [--absolute] [--r R] [--x X] "
        "[--file F.pcm] [--no-loop] [--device N]";

    RandomSourceKind kind = RandomSourceKind::Pseudo;
    std::optional<uint64_t> seed;
    bool absolute = false;
    // The program keeps r and x as the settings file stores them, in double precision, so
    // "--r 3.8" and the default give the same orbit.
    long double growthConstant = static_cast<double>(3.8);
    long double population = static_cast<double>(0.5);
    std::string file;
    bool loop = true;
    int device = -1;

    // Takes the options out of the line; UsageError for wrong values.
    static RandomSourceOptions read(CommandLine& line);
    // Selects the source with these options (a file source checks its file only when drawn).
    void configure(RandomSource& source) const;
};

// The sound input the sound-card source records noise from: the real input devices.
std::unique_ptr<NoiseInput> makeNoiseInput();

}  // namespace murmelix::cli
