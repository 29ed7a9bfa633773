#pragma once

#include <cstdint>
#include <vector>

#include "audio/cue_point.h"

namespace murmelix {

// Identifiers tie a cue point to its length, label and note in a WAV file, and 0 never gets
// any of them: a new cue point needs a non-zero identifier no other point of its table uses.
class CueIdentifiers {
  public:
    // One above the largest in use, or the smallest free one when that would overflow.
    static uint32_t fresh(const std::vector<CuePoint>& table);
    // `table` followed by `added`, each added point with a fresh identifier.
    static std::vector<CuePoint> merged(std::vector<CuePoint> table,
                                        const std::vector<CuePoint>& added);
    // 1, 2, 3, ... in table order.
    static void number(std::vector<CuePoint>& table);
};

}  // namespace murmelix
