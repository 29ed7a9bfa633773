#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "audio/audio_document.h"
#include "audio/cue_point.h"
#include "labels/cue_editor.h"
#include "labels/waveform_layout.h"

namespace murmelix {

// The borders of the cue regions as the pointer meets them. Where one region ends and the
// next starts (within a frame) the two make one border that moves as one, so that no gap
// opens between them. A border is grabbed only where it stands clear of its neighbours:
// in a dense view a drag then selects instead of moving some border by accident.
class WaveformBorders {
  public:
    struct Border {
        int64_t frame;
        std::vector<CueEditor::EdgeRef> edges;
    };
    struct SnapRules {
        bool zeroCrossings = false;
        int pixels = 6;  // how near a neighbouring border or a zero crossing pulls
    };

    // Every border of `cues` (length 0: a point, whose one border is its place), in frame
    // order; `frameCount` ends the regions that reach the end of the data.
    WaveformBorders(const std::vector<CuePoint>& cues, int64_t frameCount);
    const std::vector<Border>& all() const { return borders_; }

    // The border within `reach` pixels of x, when no other border lies within `apart`
    // pixels of it; none elsewhere.
    std::optional<Border> grab(const WaveformLayout& layout, int x, int reach, int apart) const;
    // Where a border dragged to `frame` lands: on another border within the rules' pixels,
    // else (with zero crossings on) on the nearest rising zero crossing within them, else
    // at `frame`.
    int64_t snapped(const AudioDocument& doc, const WaveformLayout& layout, int64_t frame,
                    const Border& dragged, const SnapRules& rules) const;

  private:
    std::vector<Border> borders_;
};

}  // namespace murmelix
