#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"

namespace murmelix::cli {

// A command with subcommands ("session show", "test make"): the subcommand word is found
// before the subcommand takes its options, so every option any of them takes is named here.
struct Subcommands {
    struct Entry {
        const char* name;
        int (*run)(CommandLine& line, ConsoleUserInterface& ui);
    };
    std::vector<Entry> entries;
    std::vector<const char*> flags;
    std::vector<const char*> valueOptions;

    // Runs the one named; UsageError for a missing or unknown one.
    int run(CommandLine& line, ConsoleUserInterface& ui) const;
};

}  // namespace murmelix::cli
