#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli import IN -o OUT.wav [--channels 1|2] [--bits 8|16]
int runImport(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
