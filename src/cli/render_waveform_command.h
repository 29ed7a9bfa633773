#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli render-waveform IN.wav -o OUT.png [--width W] [--height H] [--from S] [--to S]
//                              [--dark]
int runRenderWaveform(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
