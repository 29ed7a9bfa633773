#include "cli/subcommands.h"

namespace murmelix::cli {

int Subcommands::run(CommandLine& line, ConsoleUserInterface& ui) const {
    CommandLine probe = line;
    for (const char* flag : flags) {
        probe.flag(flag);
    }
    for (const char* option : valueOptions) {
        probe.value(option);
    }
    const auto arguments = probe.positionals();
    if (arguments.empty()) {
        throw UsageError("missing subcommand");
    }
    for (const Entry& entry : entries) {
        if (arguments.front() == entry.name) {
            return entry.run(line, ui);
        }
    }
    throw UsageError("unknown subcommand '" + arguments.front() + "'");
}

}  // namespace murmelix::cli
