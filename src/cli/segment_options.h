#pragma once

#include "cli/command_line.h"
#include "synth/segment_controls.h"

namespace murmelix::cli {

// The "Segments" group as options, with the program's defaults (From 80 ms, Z-Cross on):
//   [--from MS] [--to MS] [--overlap] [--no-zero-cross] [--cross-fade] [--cues]
// --to switches "To" on with that maximum.
struct SegmentOptions {
    static constexpr const char* kUsage =
        "[--from MS] [--to MS] [--overlap] [--no-zero-cross] [--cross-fade] [--cues]";

    static SegmentControls read(CommandLine& line);
};

}  // namespace murmelix::cli
