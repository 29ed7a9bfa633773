#include "speech/misheard_silence.h"

#include <algorithm>

#include "speech/loud_sound.h"

namespace murmelix {

std::vector<FrameSpan> MisheardSilence::stretches(const std::vector<FrameSpan>& silences,
                                                  const std::vector<float>& levels, int64_t hop) {
    std::vector<FrameSpan> out;
    if (levels.empty() || hop <= 0) {
        return out;
    }
    const float loud = LoudSound::threshold(levels);
    const auto blocks = static_cast<int64_t>(levels.size());
    for (const FrameSpan& silence : silences) {
        const int64_t from = std::clamp<int64_t>(silence.start / hop, 0, blocks);
        const int64_t to = std::clamp<int64_t>((silence.end + hop - 1) / hop, from, blocks);
        int64_t firstLoud = -1;
        int64_t lastLoud = -1;
        int count = 0;
        for (int64_t b = from; b < to; ++b) {
            if (levels[static_cast<size_t>(b)] >= loud) {
                firstLoud = firstLoud < 0 ? b : firstLoud;
                lastLoud = b;
                ++count;
            }
        }
        if (count >= kLeastLoudBlocks) {
            out.push_back({std::max(silence.start, (firstLoud - kMarginBlocks) * hop),
                           std::min(silence.end, (lastLoud + 1 + kMarginBlocks) * hop),
                           {},
                           {}});
        }
    }
    return out;
}

}  // namespace murmelix
