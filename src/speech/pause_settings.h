#pragma once

#include <optional>
#include <string>

namespace murmelix {

// How regions between pauses are told apart. Times are milliseconds.
struct PauseSettings {
    // A frame belongs to a pause when its level lies this many dB below the loudest frame;
    // none: chosen from the recording's own noise floor.
    std::optional<double> thresholdDb;
    int minPauseMs = 150;
    int minRegionMs = 60;
    // Added to each side of a region, never into its neighbour.
    int paddingMs = 20;
    // Every border moved to the nearest rising zero crossing.
    bool zeroCross = false;
    // Words that label the regions when there are as many regions as words (else they are
    // numbered 1, 2, ...).
    std::string transcript;
};

}  // namespace murmelix
