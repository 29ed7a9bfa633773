#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace murmelix {

// Where sound stands between pauses, from a level curve (dB per block): a block starts a
// region when its level rises above the "on" level and the region goes on until the level
// falls below the "off" level, a few dB lower, so that a level hovering at the threshold does
// not chop a word. Both levels are taken from the recording itself: below its loudest block by
// the given threshold, or, automatically, a share of the way from its noise floor (a low
// percentile of the levels) up to the loudest block.
class PauseFinder {
  public:
    struct Limits {
        std::optional<double> thresholdDb;  // below the peak; none: automatic
        int64_t minPauseBlocks = 1;         // shorter pauses join their neighbours
        int64_t minRegionBlocks = 1;        // shorter regions are dropped
    };
    struct Block {
        int64_t start = 0;  // [start, end) in blocks
        int64_t end = 0;
        bool operator==(const Block&) const = default;
    };

    static std::vector<Block> regions(const std::vector<float>& levels, const Limits& limits);
    static constexpr double kHysteresisDb = 6.0;
    // The "on" level the curve is cut at; a region ends kHysteresisDb below it.
    static double onLevel(const std::vector<float>& levels, std::optional<double> thresholdDb);
};

}  // namespace murmelix
