#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "session/kept_line.h"
#include "session/sequence.h"

namespace murmelix {

// What a session file holds, as the reader found it.
struct SessionFileContents {
    int version = 0;  // 1 or 2; 0 when the first line is no known header
    std::string wavFileName;
    std::list<SEQUENCE> sequences;
    // Lines that carry no meaning in the format (entries before the first sequence, too
    // few fields, non-numeric or out-of-range numbers), in file order; the writer puts
    // them back where they were.
    std::vector<KeptLine> keptLines;
    int64_t unreadableLines = 0;  // how many there are

    bool valid() const { return version != 0; }
};

}  // namespace murmelix
