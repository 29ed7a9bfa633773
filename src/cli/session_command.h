#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli session show FILE.oqt [--json]
int runSession(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
