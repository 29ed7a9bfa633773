#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace murmelix {

// The console report, remembering each benchmark's real time per iteration (in the unit it
// was reported in) so that a bench can print its ratio against a named baseline at the end.
class TimingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Nothing when that benchmark did not run (a filter left it out).
    std::optional<double> realTime(const std::string& name) const {
        const auto found = times_.find(name);
        return found != times_.end() ? std::optional<double>(found->second) : std::nullopt;
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace murmelix
