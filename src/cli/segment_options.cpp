#include "cli/segment_options.h"

namespace murmelix::cli {

SegmentControls SegmentOptions::read(CommandLine& line) {
    SegmentControls controls;
    controls.durationMs = static_cast<int>(
        line.integer("--from", SegmentControls::kMinDurationMs, SegmentControls::kMaxDurationMs)
            .value_or(controls.durationMs));
    if (const auto to = line.integer("--to", SegmentControls::kMinDurationMs,
                                     SegmentControls::kMaxDurationMs)) {
        controls.segTo = true;
        controls.duration2Ms = static_cast<int>(*to);
    }
    controls.overlap = line.flag("--overlap");
    controls.zeroCrossAdjust = !line.flag("--no-zero-cross");
    controls.crossFade = line.flag("--cross-fade");
    controls.useCueList = line.flag("--cues");
    return controls;
}

}  // namespace murmelix::cli
