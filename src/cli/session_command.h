#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli session show FILE.oqt [--json]
// murmelix-cli session export FILE.oqt --sequence K -o OUT.wav
int runSession(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
