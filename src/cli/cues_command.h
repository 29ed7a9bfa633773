#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli cues export IN.wav -o OUT.txt|OUT.TextGrid
// murmelix-cli cues import IN.wav LABELS -o OUT.wav [--add] [--tier NAME]
// murmelix-cli cues find pauses|words|phonemes IN -o OUT.wav [...] (cues_find_command.h)
int runCues(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
