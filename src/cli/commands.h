#pragma once

#include <vector>

#include "base/console_user_interface.h"
#include "cli/command_line.h"

namespace murmelix::cli {

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

struct Command {
    const char* name;
    const char* usage;
    int (*run)(CommandLine& line, ConsoleUserInterface& ui);
};

// Every subcommand, in the order the usage lists them (commands.cpp).
const std::vector<Command>& commands();

}  // namespace murmelix::cli
