#pragma once

#include <cstdint>

#include "synth/transport_mode.h"

namespace murmelix {

class AudioDocument;

// Which of the "Segments" group's controls can be used, and whether a spin edit shows the
// window colour (true) or the button-face colour (false).
struct SegmentControlsEnabling {
    bool segTo = false;
    bool overlap = false;
    bool zeroCross = false;
    bool crossFade = false;
    bool useCueList = false;
    bool duration = false;
    bool duration2 = false;
    bool operator==(const SegmentControlsEnabling&) const = default;
};

// A spin edit's value after its change handler: at least 1, stepping by 1 below 10.
struct SpinEditValue {
    int value = 1;
    int step = 1;
};

// The settings of the "Segments" group and the lengths derived from them. The window keeps
// the check boxes and spin edits in step with this record; the selection reads it at the
// moment of each choice.
struct SegmentControls {
    static constexpr int kMinDurationMs = 1;
    static constexpr int kMaxDurationMs = 10000;

    int durationMs = 80;    // CSpinEditSegDuration
    int duration2Ms = 120;  // CSpinEditSegDuration2
    bool segTo = false;
    bool overlap = false;
    bool zeroCrossAdjust = true;
    bool crossFade = false;
    bool useCueList = false;

    int32_t minimumLength = 0;
    int32_t maximumLength = 0;

    static int32_t millisecondsToFrames(int milliseconds, const AudioDocument& doc);
    static SpinEditValue adjustSpinEdit(int typed);

    // The two lengths in frames of `doc` for the two durations; set wherever the durations
    // or the document change, and at the start of every run.
    void deriveLengths(const AudioDocument& doc);

    SegmentControlsEnabling enabling(TransportMode mode) const;
};

}  // namespace murmelix
