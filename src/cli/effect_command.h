#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli effect reverse|echo|normalize IN.wav OUT.wav [--delay MS] [--decay PERCENT]
int runEffect(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
