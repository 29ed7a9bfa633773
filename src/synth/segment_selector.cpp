#include "synth/segment_selector.h"

#include <algorithm>

#include "audio/audio_document.h"
#include "audio/zero_crossing.h"
#include "base/user_interface.h"

namespace murmelix {

namespace {

constexpr const char* kNoCuesMessage =
    "Murmelix can't proceed because you have\nchecked the \"Use Cue List\" option, but\n"
    "there are no Cues defined in the WAV file.";
constexpr const char* kNoLengthMessage =
    "Murmelix can't proceed because the segment duration is shorter than one sample of the "
    "WAV file (or the file holds no samples).\nPlease choose a longer duration.";

}  // namespace

bool SegmentSelector::startRun(const AudioDocument& doc, const SegmentControls& controls,
                               UserInterface& ui) {
    cueMode_ = false;
    if (controls.useCueList) {
        if (doc.cues.empty()) {
            ui.showError(kNoCuesMessage);
            return false;
        }
        cueMode_ = true;
        return true;
    }
    // A zero length would divide by zero on the grid and loop on empty buffers.
    if (controls.minimumLength <= 0) {
        ui.showError(kNoLengthMessage);
        return false;
    }
    return true;
}

SegmentChoice SegmentSelector::chooseSegment(const AudioDocument& doc,
                                             const SegmentControls& controls, RandomDraw& draw) {
    SegmentChoice segment = cueMode_ ? chooseCue(doc, draw) : chooseByDuration(doc, controls, draw);
    if (controls.zeroCrossAdjust && !controls.crossFade) {
        segment.start = findZeroCrossing(doc, segment.start);
        int32_t end = std::min(segment.start + segment.length, doc.frameCount);
        end = findZeroCrossing(doc, end);
        segment.length = end - segment.start;
    }
    return segment;
}

SegmentChoice SegmentSelector::chooseCue(const AudioDocument& doc, RandomDraw& draw) {
    segmentCount_ = doc.cueCount();
    SegmentChoice segment;
    segment.number = draw.next(doc.cueCount());
    const CuePoint& cue = doc.cues[static_cast<size_t>(segment.number)];
    // Cue regions are not checked against the data when the file is read; cut them here.
    const int64_t start = std::min<int64_t>(cue.position, doc.frameCount);
    int64_t length = cue.length == 0 ? doc.frameCount - start : cue.length;
    length = std::min<int64_t>(length, doc.frameCount - start);
    segment.start = static_cast<int32_t>(start);
    segment.length = static_cast<int32_t>(length);
    return segment;
}

SegmentChoice SegmentSelector::chooseByDuration(const AudioDocument& doc,
                                                const SegmentControls& controls, RandomDraw& draw) {
    SegmentChoice segment;
    const int32_t minimum = controls.minimumLength;
    const int32_t maximum = controls.maximumLength;
    int32_t length = minimum;
    if (controls.segTo && !controls.crossFade) {
        if (maximum > minimum) {
            length = minimum + draw.next(maximum - minimum);
        } else if (minimum > maximum) {
            length = minimum + draw.next(minimum - maximum);
        }
    }
    length = std::max(length, 1);
    const int64_t k = controls.crossFade ? 2 : 1;
    const int64_t bound = doc.frameCount - k * length;
    // A document no longer than the segment (or two with X-Fade) leaves no room: start at 0.
    int32_t start = bound > 0 ? draw.next(static_cast<int32_t>(bound)) : 0;
    if (!controls.overlap) {
        start -= start % length;
    }
    segment.start = start;
    // Varied lengths of a short document can reach past the end; never read beyond it.
    segment.length = std::min(length, std::max(doc.frameCount - start, 0));
    segment.number = start / length;
    segmentCount_ = doc.frameCount / length;
    return segment;
}

int32_t SegmentSelector::findZeroCrossing(const AudioDocument& doc, int32_t first) {
    return static_cast<int32_t>(ZeroCrossing::next(doc, first));
}

}  // namespace murmelix
