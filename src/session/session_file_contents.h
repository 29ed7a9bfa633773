#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "session/sequence.h"

namespace murmelix {

// What a session file holds, as the reader found it.
struct SessionFileContents {
    int version = 0;  // 1 or 2; 0 when the first line is no known header
    std::string wavFileName;
    std::list<SEQUENCE> sequences;
    // Lines that carry no meaning in the format (entries before the first sequence, too
    // few fields, non-numeric or out-of-range numbers); they were skipped.
    int64_t unreadableLines = 0;

    bool valid() const { return version != 0; }
};

}  // namespace murmelix
