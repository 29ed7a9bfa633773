#include "audio/cue_regions.h"

#include <algorithm>
#include <string>

namespace murmelix {

void CueRegions::applyLoop(std::vector<CuePoint>& cues, uint32_t identifier, uint32_t start,
                           uint32_t length, int number) {
    if (length == 0) {
        return;
    }
    auto at = std::find_if(cues.begin(), cues.end(), [&](const CuePoint& cue) {
        return identifier != 0 && cue.identifier == identifier && cue.position == start;
    });
    if (at == cues.end()) {
        at = std::find_if(cues.begin(), cues.end(),
                          [&](const CuePoint& cue) { return cue.position == start; });
    }
    if (at != cues.end()) {
        if (at->length == 0) {
            at->length = length;
        }
        return;
    }
    uint32_t highest = 0;
    for (const CuePoint& cue : cues) {
        highest = std::max(highest, cue.identifier);
    }
    CuePoint loop;
    loop.identifier = highest + 1;
    loop.position = start;
    loop.length = length;
    loop.label = "Loop " + std::to_string(number);
    cues.push_back(loop);
}

void CueRegions::fitTo(std::vector<CuePoint>& cues, uint32_t frameCount) {
    std::erase_if(cues, [&](const CuePoint& cue) { return cue.position >= frameCount; });
    for (CuePoint& cue : cues) {
        cue.length = std::min(cue.length, frameCount - cue.position);
    }
}

}  // namespace murmelix
