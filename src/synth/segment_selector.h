#pragma once

#include <cstdint>

#include "synth/random_draw.h"
#include "synth/segment_choice.h"
#include "synth/segment_controls.h"

namespace murmelix {

class AudioDocument;
class UserInterface;

// Chooses one segment afresh for every output buffer of an OQT run: a random stretch of the
// chosen duration, or one of the file's cue regions.
class SegmentSelector {
  public:
    // Fixed for a whole run: refuses (with the message) when cues are asked for but there
    // are none, or when the segment length is below one frame.
    bool startRun(const AudioDocument& doc, const SegmentControls& controls, UserInterface& ui);

    SegmentChoice chooseSegment(const AudioDocument& doc, const SegmentControls& controls,
                                RandomDraw& draw);

    // First frame from `first` on where the left channel rises from <= 0 to >= 0; `first`
    // itself when there is none.
    static int32_t findZeroCrossing(const AudioDocument& doc, int32_t first);

    bool cueMode() const { return cueMode_; }
    int32_t segmentCount() const { return segmentCount_; }

  private:
    SegmentChoice chooseCue(const AudioDocument& doc, RandomDraw& draw);
    SegmentChoice chooseByDuration(const AudioDocument& doc, const SegmentControls& controls,
                                   RandomDraw& draw);

    bool cueMode_ = false;
    int32_t segmentCount_ = 0;
};

}  // namespace murmelix
