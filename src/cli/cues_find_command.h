#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace murmelix::cli {

// The options of "cues find", taken out of the command line before its plain arguments.
struct CuesFindOptions {
    std::optional<std::string> transcriptFile;
    std::optional<std::string> text;
    std::optional<double> thresholdDb;
    std::optional<long long> minPauseMs;
    std::optional<long long> minRegionMs;
    std::optional<long long> paddingMs;
    bool zeroCross = false;
    bool ipa = false;

    static CuesFindOptions take(CommandLine& line);
    bool any() const;
};

// murmelix-cli cues find pauses|words|phonemes IN -o OUT.wav [--transcript FILE|--text "..."]
//   [--threshold DB] [--min-pause MS] [--min-region MS] [--padding MS] [--zero-cross] [--ipa]
//   [--add]
int runCuesFind(const std::vector<std::string>& args, const std::optional<std::string>& output,
                bool add, const CuesFindOptions& options, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
