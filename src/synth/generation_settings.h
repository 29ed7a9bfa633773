#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "random/random_source.h"
#include "synth/segment_controls.h"

namespace murmelix {

// The settings that make a sequence, written as the render command's options, so that the
// sequence can be made again, or with another seed as a control. Taken as a generation
// starts: the pseudo generator's state at that moment is its seed, the logistic map's value
// its start.
class GenerationSettings {
  public:
    static std::vector<std::string> arguments(const SegmentControls& controls,
                                              const RandomSource& source, int speedPercent);
    // The settings back from what arguments() wrote, onto default controls and the given
    // source; failed, naming it, for anything arguments() does not write.
    static Result apply(const std::vector<std::string>& arguments, SegmentControls& controls,
                        RandomSource& source, int& speedPercent);
    // The logistic map's start that a seed stands for, for sources whose only seed is their
    // start: spread over the map's open interval, never at its ends (where it stays).
    static double startForSeed(unsigned long long seed);
    // The shortest text that reads back as the same double ("3.9", not "3.8999999999999999"),
    // with a decimal point whatever the locale.
    static std::string exact(double value);
};

}  // namespace murmelix
