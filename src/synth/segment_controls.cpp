#include "synth/segment_controls.h"

#include <algorithm>

#include "audio/audio_document.h"

namespace murmelix {

int32_t SegmentControls::millisecondsToFrames(int milliseconds, const AudioDocument& doc) {
    const int64_t frames = static_cast<int64_t>(milliseconds) * doc.fileSampleRate / 1000;
    return static_cast<int32_t>(std::min<int64_t>(frames, doc.frameCount));
}

SpinEditValue SegmentControls::adjustSpinEdit(int typed) {
    SpinEditValue result;
    result.value = std::max(typed, kMinDurationMs);
    result.step = result.value < 10 ? 1 : 10;
    return result;
}

void SegmentControls::deriveLengths(const AudioDocument& doc) {
    minimumLength = millisecondsToFrames(durationMs, doc);
    maximumLength = millisecondsToFrames(duration2Ms, doc);
}

SegmentControlsEnabling SegmentControls::enabling(TransportMode mode) const {
    SegmentControlsEnabling on;
    if (mode != TransportMode::tmIdle && mode != TransportMode::tmRandomPlay) {
        return on;  // everything off while the file, a session or a recording runs
    }
    on.segTo = !useCueList && !crossFade;
    on.overlap = !useCueList;
    on.zeroCross = !crossFade;
    on.crossFade = !useCueList;
    on.useCueList = !crossFade && mode == TransportMode::tmIdle;
    on.duration = !useCueList;
    on.duration2 = segTo && !useCueList && !crossFade;
    return on;
}

}  // namespace murmelix
