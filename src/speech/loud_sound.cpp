#include "speech/loud_sound.h"

#include <algorithm>
#include <functional>

namespace murmelix {

namespace {

constexpr size_t kLoudestBlocks = 10;

}  // namespace

float LoudSound::threshold(const std::vector<float>& levels) {
    if (levels.empty()) {
        return 0.0f;
    }
    std::vector<float> sorted = levels;
    const size_t rank = std::min(kLoudestBlocks, sorted.size()) - 1;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(rank),
                     sorted.end(), std::greater<float>());
    return sorted[rank] - kWithinDb;
}

void LoudSound::claimLoudEdges(std::vector<FrameSpan>& spans, const std::vector<float>& levels,
                               int64_t hop, int64_t frameCount) {
    if (levels.empty() || hop <= 0) {
        return;
    }
    const float loud = threshold(levels);
    const auto blocks = static_cast<int64_t>(levels.size());
    const auto loudBlock = [&](int64_t block) {
        return block >= 0 && block < blocks && levels[static_cast<size_t>(block)] >= loud;
    };
    // The frame a border moves to over the loud blocks next to it, `step` blocks at a time,
    // up to `limit` (a neighbour's border, or the data's edge). It stays where it is when
    // the loud sound runs on longer than a voice's end does, or into the data's edge.
    const auto claim = [&](int64_t border, int step, int64_t limit, bool neighbour) {
        int64_t frontier = border;
        int64_t block = step > 0 ? border / hop : (border - 1) / hop;
        for (int run = 0; run < kMostClaimedBlocks; ++run, block += step) {
            if (!loudBlock(block)) {
                return frontier;
            }
            frontier = step > 0 ? (block + 1) * hop : block * hop;
            if (step > 0 ? frontier >= limit : frontier <= limit) {
                return neighbour ? limit : border;
            }
        }
        return border;
    };
    for (size_t i = 0; i < spans.size(); ++i) {
        FrameSpan& span = spans[i];
        const int64_t before = i == 0 ? 0 : spans[i - 1].end;
        if (span.start > before) {
            span.start = claim(span.start, -1, before, i > 0);
        }
        const int64_t after = i + 1 < spans.size() ? spans[i + 1].start : frameCount;
        if (span.end < after) {
            span.end = claim(span.end, 1, after, i + 1 < spans.size());
        }
    }
}

}  // namespace murmelix
