#include "speech/pause_finder.h"

#include <algorithm>

namespace murmelix {

namespace {

// Automatic threshold: this share of the way from the noise floor to the peak, but never
// further below the peak than kDeepestBelowPeakDb (digital silence has no useful floor).
constexpr double kFloorShare = 0.3;
constexpr double kDeepestBelowPeakDb = 45.0;
constexpr double kFloorPercentile = 0.1;

double percentile(std::vector<float> levels, double share) {
    const auto at = static_cast<size_t>(share * static_cast<double>(levels.size() - 1));
    std::nth_element(levels.begin(), levels.begin() + static_cast<std::ptrdiff_t>(at),
                     levels.end());
    return levels[at];
}

std::vector<PauseFinder::Block> soundingRuns(const std::vector<float>& levels, double on) {
    std::vector<PauseFinder::Block> runs;
    const double off = on - PauseFinder::kHysteresisDb;
    bool sounding = false;
    for (size_t i = 0; i < levels.size(); ++i) {
        const auto at = static_cast<int64_t>(i);
        if (!sounding && levels[i] > on) {
            // The rise started where the level first left the pause.
            int64_t start = at;
            while (start > 0 && levels[static_cast<size_t>(start - 1)] > off &&
                   (runs.empty() || start - 1 >= runs.back().end)) {
                --start;
            }
            runs.push_back({start, at + 1});
            sounding = true;
        } else if (sounding && levels[i] >= off) {
            runs.back().end = at + 1;
        } else {
            sounding = false;
        }
    }
    return runs;
}

}  // namespace

double PauseFinder::onLevel(const std::vector<float>& levels, std::optional<double> thresholdDb) {
    if (levels.empty()) {
        return 0.0;
    }
    const double peak = *std::max_element(levels.begin(), levels.end());
    if (thresholdDb) {
        return peak - *thresholdDb;
    }
    const double floor = percentile(levels, kFloorPercentile);
    return std::max(floor + kFloorShare * (peak - floor), peak - kDeepestBelowPeakDb);
}

std::vector<PauseFinder::Block> PauseFinder::regions(const std::vector<float>& levels,
                                                     const Limits& limits) {
    std::vector<Block> joined;
    for (const Block& run : soundingRuns(levels, onLevel(levels, limits.thresholdDb))) {
        if (!joined.empty() && run.start - joined.back().end < limits.minPauseBlocks) {
            joined.back().end = run.end;
        } else {
            joined.push_back(run);
        }
    }
    std::erase_if(joined, [&](const Block& b) { return b.end - b.start < limits.minRegionBlocks; });
    return joined;
}

}  // namespace murmelix
