#include "labels/waveform_selection.h"

#include <algorithm>
#include <tuple>

namespace murmelix {

void WaveformSelection::reset(int64_t frameCount) {
    frameCount_ = std::max<int64_t>(frameCount, 0);
    anchor_ = 0;
    cursor_ = 0;
    region_.reset();
}

int64_t WaveformSelection::clamped(int64_t frame) const {
    return std::clamp<int64_t>(frame, 0, frameCount_);
}

void WaveformSelection::placeCursor(int64_t frame) {
    anchor_ = cursor_ = clamped(frame);
    region_.reset();
}

void WaveformSelection::extendTo(int64_t frame) {
    cursor_ = clamped(frame);
    region_.reset();
}

void WaveformSelection::moveCursor(int64_t frames, bool extend) {
    moveCursorTo(cursor_ + frames, extend);
}

void WaveformSelection::moveCursorTo(int64_t frame, bool extend) {
    if (extend) {
        extendTo(frame);
    } else {
        placeCursor(frame);
    }
}

int64_t WaveformSelection::endOf(const CuePoint& cue) const {
    return clamped(int64_t{cue.position} + cue.length);
}

void WaveformSelection::selectRegion(size_t index, const std::vector<CuePoint>& cues) {
    if (index >= cues.size()) {
        return;
    }
    // A point selects its place only; a region its whole span.
    anchor_ = clamped(cues[index].position);
    cursor_ = endOf(cues[index]);
    region_ = index;
}

bool WaveformSelection::selectNextRegion(const std::vector<CuePoint>& cues, bool forward) {
    // Regions are ordered by (start, index); without a selected region the cursor stands
    // before every region that starts at it.
    const auto key = [&](size_t i) { return std::make_tuple(int64_t{cues[i].position}, i, 0); };
    const auto from =
        region_ && *region_ < cues.size()
            ? key(*region_)
            : std::make_tuple(std::min(anchor_, cursor_), size_t{0}, forward ? -1 : 0);
    std::optional<size_t> best;
    for (size_t i = 0; i < cues.size(); ++i) {
        const bool beyond = forward ? key(i) > from : key(i) < from;
        const bool closer = !best || (forward ? key(i) < key(*best) : key(i) > key(*best));
        if (beyond && closer) {
            best = i;
        }
    }
    if (!best) {
        return false;
    }
    selectRegion(*best, cues);
    return true;
}

void WaveformSelection::follow(const std::vector<CuePoint>& cues, int64_t frameCount) {
    frameCount_ = std::max<int64_t>(frameCount, 0);
    anchor_ = clamped(anchor_);
    cursor_ = clamped(cursor_);
    if (region_ && *region_ >= cues.size()) {
        region_.reset();
    }
}

std::optional<std::pair<int64_t, int64_t>> WaveformSelection::span() const {
    if (anchor_ == cursor_) {
        return std::nullopt;
    }
    return std::minmax(anchor_, cursor_);
}

std::pair<int64_t, int64_t> WaveformSelection::playSpan(const std::vector<CuePoint>& cues) const {
    if (const auto selected = span()) {
        return *selected;
    }
    std::optional<std::pair<int64_t, int64_t>> best;
    for (const CuePoint& cue : cues) {
        const int64_t end = endOf(cue);
        if (cue.length > 0 && cue.position <= cursor_ && cursor_ < end &&
            (!best || end - cue.position < best->second - best->first)) {
            best = std::make_pair(int64_t{cue.position}, end);
        }
    }
    return best.value_or(std::make_pair(cursor_, frameCount_));
}

}  // namespace murmelix
