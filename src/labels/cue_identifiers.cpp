#include "labels/cue_identifiers.h"

#include <algorithm>
#include <unordered_set>

namespace murmelix {

uint32_t CueIdentifiers::fresh(const std::vector<CuePoint>& table) {
    uint32_t largest = 0;
    for (const CuePoint& cue : table) {
        largest = std::max(largest, cue.identifier);
    }
    if (largest < UINT32_MAX) {
        return largest + 1;
    }
    std::unordered_set<uint32_t> used;
    for (const CuePoint& cue : table) {
        used.insert(cue.identifier);
    }
    uint32_t candidate = 1;
    while (used.count(candidate) != 0) {
        ++candidate;
    }
    return candidate;
}

std::vector<CuePoint> CueIdentifiers::merged(std::vector<CuePoint> table,
                                             const std::vector<CuePoint>& added) {
    table.reserve(table.size() + added.size());
    for (CuePoint cue : added) {
        cue.identifier = fresh(table);
        table.push_back(std::move(cue));
    }
    return table;
}

void CueIdentifiers::number(std::vector<CuePoint>& table) {
    uint32_t next = 1;
    for (CuePoint& cue : table) {
        cue.identifier = next++;
    }
}

}  // namespace murmelix
