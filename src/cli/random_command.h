#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli random [--source pseudo|fractal|file|soundcard] [--seed N] [--absolute]
//   [--r R] [--x X] [--file F.pcm] [--no-loop] [--device N] [--count N] [--bound B]
//   [--numbers] [-o OUT.txt]
int runRandom(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
