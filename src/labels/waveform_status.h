#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <vector>

#include "audio/cue_point.h"
#include "labels/waveform_selection.h"

namespace murmelix {

// The waveform window's status line: where the selection (or the cursor) stands, and the
// region under the pointer with its whole label and its note, which the picture may cut.
class WaveformStatus {
  public:
    // "1:02.350": minutes, seconds and milliseconds.
    static std::string timeText(int64_t frame, double sampleRate);
    // "Selection 0:01.000 to 0:02.500 (1.500 s)", or "Cursor 0:01.000".
    static std::string selectionText(const WaveformSelection& selection, double sampleRate);
    // "Region 3 "where are you" 0:01.000 to 0:01.800 (0.800 s), confidence 0.02", or
    // "Point 3 "mark" at 0:01.000"; the number is the region's place in the table.
    // "Found region 3 ..." for one of the regions a search found, not yet in the table.
    static std::string regionText(const std::vector<CuePoint>& cues, size_t index,
                                  const WaveformSelection& selection, double sampleRate,
                                  bool found = false);
    // Both, apart; the region only when the pointer is over one.
    static std::string line(const WaveformSelection& selection, const std::vector<CuePoint>& cues,
                            std::optional<size_t> pointed, double sampleRate, bool found = false);
};

}  // namespace murmelix
