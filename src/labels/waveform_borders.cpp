#include "labels/waveform_borders.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace murmelix {

namespace {

// The rising zero crossing nearest to `frame` within `window` frames either side, as
// ZeroCrossing counts them (a sample >= 0 after one <= 0, on the left channel).
std::optional<int64_t> nearestZeroCrossing(const AudioDocument& doc, int64_t frame,
                                           int64_t window) {
    const int64_t first = std::max<int64_t>(frame - window, 0);
    const int64_t last = std::min<int64_t>(frame + window, doc.frameCount - 1);
    std::optional<int64_t> best;
    for (int64_t i = first; i <= last; ++i) {
        const int previous = i > 0 ? doc.read(0, i - 1) : 0;
        if (doc.read(0, i) >= 0 && previous <= 0 &&
            (!best || std::llabs(i - frame) < std::llabs(*best - frame))) {
            best = i;
        }
    }
    return best;
}

}  // namespace

WaveformBorders::WaveformBorders(const std::vector<CuePoint>& cues, int64_t frameCount) {
    std::vector<Border> single;
    for (size_t i = 0; i < cues.size(); ++i) {
        const CuePoint& cue = cues[i];
        single.push_back({cue.position, {{i, CueEditor::Edge::Start}}});
        if (cue.length > 0) {
            const int64_t end = std::min<int64_t>(int64_t{cue.position} + cue.length, frameCount);
            single.push_back({end, {{i, CueEditor::Edge::End}}});
        }
    }
    std::stable_sort(single.begin(), single.end(),
                     [](const Border& a, const Border& b) { return a.frame < b.frame; });
    for (Border& border : single) {
        if (!borders_.empty() && border.frame - borders_.back().frame <= 1) {
            std::vector<CueEditor::EdgeRef>& edges = borders_.back().edges;
            edges.insert(edges.end(), border.edges.begin(), border.edges.end());
        } else {
            borders_.push_back(std::move(border));
        }
    }
}

std::optional<WaveformBorders::Border> WaveformBorders::grab(const WaveformLayout& layout, int x,
                                                             int reach, int apart) const {
    std::optional<size_t> nearest;
    int best = reach + 1;
    for (size_t i = 0; i < borders_.size(); ++i) {
        const int distance = std::abs(layout.xOf(borders_[i].frame) - x);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    if (!nearest) {
        return std::nullopt;
    }
    const int at = layout.xOf(borders_[*nearest].frame);
    const bool crowdedBefore =
        *nearest > 0 && at - layout.xOf(borders_[*nearest - 1].frame) < apart;
    const bool crowdedAfter =
        *nearest + 1 < borders_.size() && layout.xOf(borders_[*nearest + 1].frame) - at < apart;
    if (crowdedBefore || crowdedAfter) {
        return std::nullopt;
    }
    return borders_[*nearest];
}

int64_t WaveformBorders::snapped(const AudioDocument& doc, const WaveformLayout& layout,
                                 int64_t frame, const Border& dragged,
                                 const SnapRules& rules) const {
    const int x = layout.xOf(frame);
    std::optional<int64_t> best;
    int bestDistance = rules.pixels + 1;
    for (const Border& border : borders_) {
        if (border.edges == dragged.edges) {
            continue;
        }
        const int distance = std::abs(layout.xOf(border.frame) - x);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = border.frame;
        }
    }
    if (best) {
        return *best;
    }
    if (rules.zeroCrossings) {
        const auto window =
            std::max<int64_t>(std::llround(rules.pixels * layout.framesPerPixel), 1);
        if (const auto crossing = nearestZeroCrossing(doc, frame, window)) {
            return *crossing;
        }
    }
    return frame;
}

}  // namespace murmelix
