#pragma once

#include <string>

namespace murmelix {

// One label of a label file: a span in seconds (start == end for a point label) with its
// text in UTF-8. `line` is where the label stands in its file, for messages about it.
struct TimedLabel {
    double start = 0.0;
    double end = 0.0;
    std::string text;
    int line = 0;

    bool operator==(const TimedLabel&) const = default;
};

}  // namespace murmelix
