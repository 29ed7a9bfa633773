#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli join -o OUT.wav IN1.wav IN2.wav ...
int runJoin(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
