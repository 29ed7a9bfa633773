#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli info FILE.wav [--json]
int runInfo(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
