#pragma once

#include <string>

#include "app/program.h"
#include "base/result.h"
#include "listening/listening_test_maker.h"

namespace murmelix {

// What the window's Session > Listening test menu does with the program's open session: making
// a test of it on a worker with progress and Cancel, and writing a test's report.
class ListeningTestOperations {
  public:
    static constexpr const char* kMakeProgress = "Making the listening test ...";
    static constexpr const char* kReportName = "report.html";

    explicit ListeningTestOperations(Program& program) : program_(program) {}

    // Failures are shown; a folder half made by a cancelled or failed run is removed again.
    Result make(const std::string& folder, const ListeningTestRequest& request);
    // The report, with every figure as report.csv and report.json, in the test folder; `path`
    // gets the page's path. Failures are shown; answers that cannot be read are named.
    Result report(const std::string& folder, std::string& path);

  private:
    Program& program_;
};

}  // namespace murmelix
