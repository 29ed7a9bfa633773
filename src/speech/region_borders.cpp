#include "speech/region_borders.h"

#include <algorithm>

#include "audio/zero_crossing.h"

namespace murmelix {

namespace {

bool risesAt(const AudioDocument& doc, int64_t frame) {
    const int previous = frame > 0 ? doc.read(0, frame - 1) : 0;
    return doc.read(0, frame) >= 0 && previous <= 0;
}

}  // namespace

void RegionBorders::pad(std::vector<FrameSpan>& spans, int64_t padding, int64_t frameCount) {
    if (padding <= 0) {
        return;
    }
    const std::vector<FrameSpan> before = spans;
    for (size_t i = 0; i < spans.size(); ++i) {
        const int64_t low = i == 0 ? 0 : (before[i - 1].end + before[i].start) / 2;
        const int64_t high =
            i + 1 == spans.size() ? frameCount : (before[i].end + before[i + 1].start) / 2;
        spans[i].start = std::max(low, before[i].start - padding);
        spans[i].end = std::min(high, before[i].end + padding);
    }
}

int64_t RegionBorders::nearestCrossing(const AudioDocument& doc, int64_t frame, int64_t low,
                                       int64_t high) {
    if (frame < 0 || frame >= doc.frameCount) {
        return frame;
    }
    high = std::min(high, static_cast<int64_t>(doc.frameCount) - 1);
    int64_t ahead = ZeroCrossing::next(doc, frame);
    const bool foundAhead = (ahead != frame || risesAt(doc, frame)) && ahead <= high;
    if (foundAhead && ahead == frame) {
        return frame;
    }
    // Back no further than the crossing ahead is away.
    const int64_t limit = foundAhead ? std::max(low, frame - (ahead - frame)) : low;
    for (int64_t back = frame - 1; back >= limit; --back) {
        if (risesAt(doc, back)) {
            return back;
        }
    }
    return foundAhead ? ahead : frame;
}

void RegionBorders::snapToZeroCrossings(const AudioDocument& doc, std::vector<FrameSpan>& spans) {
    int64_t low = 0;
    for (size_t i = 0; i < spans.size(); ++i) {
        FrameSpan& span = spans[i];
        span.start = nearestCrossing(doc, span.start, low, span.end - 1);
        const int64_t high = i + 1 < spans.size() ? spans[i + 1].start : doc.frameCount;
        if (span.end < doc.frameCount) {
            span.end = nearestCrossing(doc, span.end, span.start + 1, high);
        }
        low = span.end;
    }
}

std::vector<CuePoint> RegionBorders::cues(const std::vector<FrameSpan>& spans) {
    std::vector<CuePoint> out;
    out.reserve(spans.size());
    for (const FrameSpan& span : spans) {
        CuePoint cue;
        cue.identifier = static_cast<uint32_t>(out.size() + 1);
        cue.position = static_cast<uint32_t>(span.start);
        cue.length = static_cast<uint32_t>(span.end - span.start);
        cue.label = span.label.substr(0, 255);
        cue.note = span.note.substr(0, 255);
        out.push_back(std::move(cue));
    }
    return out;
}

}  // namespace murmelix
