#pragma once

#include <string>

namespace murmelix {

// A word of the recording as a sequence played it: a labelled region of the recording that
// one of the sequence's segments overlapped, and how much of it was heard.
struct PlayedWord {
    enum class Part { Whole, Start, End, Middle };

    std::string label;   // the region's label
    double heard = 1.0;  // share of the region the segment played, 0 to 1
    Part part = Part::Whole;

    // "river" for a word heard as good as whole; the letters of the part heard with "~"
    // where the rest was cut off ("riv~", "~ver", "~iv~") otherwise.
    std::string written() const;

    bool operator==(const PlayedWord&) const = default;
};

}  // namespace murmelix
