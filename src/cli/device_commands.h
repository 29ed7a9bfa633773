#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli devices
int runDevices(CommandLine& line, ConsoleUserInterface& ui);
// murmelix-cli play FILE.wav [--device N] [--speed P]
// murmelix-cli play --oqt FILE.wav --seconds S [segment and random-source options]
//   [--speed P] [--session FILE.oqt] [--question T]
int runPlay(CommandLine& line, ConsoleUserInterface& ui);
// murmelix-cli record -o OUT.wav --seconds S [--rate R] [--channels 1|2] [--bits 8|16]
//   [--normalize] [--device N]
int runRecord(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
