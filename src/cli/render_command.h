#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli render IN.wav -o OUT.wav (--segments N | --seconds S) [segment options]
//   [random-source options] [--session FILE.oqt] [--question TEXT] [--answer TEXT]
int runRender(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
