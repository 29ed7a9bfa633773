#pragma once

#include <cstddef>
#include <string>

namespace murmelix {

// A line of a session file that carries no meaning in the format (a hand edit, a damaged
// entry). It is not the program's to throw away: it is written back unchanged at the
// place it was read from.
struct KeptLine {
    // Sequences started before the line: 0 for a line between the WAV file name and the
    // first sequence. Sequences are only ever appended, so the place stays valid.
    size_t sequence = 0;
    // Entries of that sequence before the line.
    size_t beforeEntry = 0;
    std::string text;  // without its line end

    bool operator==(const KeptLine&) const = default;
};

}  // namespace murmelix
