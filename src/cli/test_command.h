#pragma once

#include "cli/commands.h"

namespace murmelix::cli {

// murmelix-cli test make FILE.oqt -o TESTDIR [--controls N] [--reversed] [--seed N]
//                        [--sequences K,L,...]
// murmelix-cli test import TESTDIR SHEET.csv...
// murmelix-cli test report TESTDIR -o REPORT.html [--csv OUT.csv] [--json OUT.json]
int runTest(CommandLine& line, ConsoleUserInterface& ui);

}  // namespace murmelix::cli
