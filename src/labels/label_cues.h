#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/cue_point.h"
#include "base/result.h"
#include "labels/text_grid.h"
#include "labels/timed_label.h"

namespace murmelix {

// Between labels in seconds and cue points in frames of one document.
//
// A point label becomes a cue point of length 0, the marker of a WAV cue list, which the
// program plays as a region reaching to the end of the data; a length-0 cue point becomes a
// point label again (start == end), in every label format. Times are rounded to the nearest frame;
// a label that ends after the data is cut at its end; a span shorter than half a frame keeps one
// frame, so that it does not turn into a marker. A label that starts at or after the end of the
// data cannot be a region of this document: the labels are refused with a message naming the line.
class LabelCues {
  public:
    // Cue points numbered 1, 2, ... in the labels' order; labels cut to what a WAV file
    // keeps (255 bytes). `name` names the label file in messages.
    static Result toCues(const std::vector<TimedLabel>& labels, const std::string& name,
                         int32_t sampleRate, int32_t frameCount, std::vector<CuePoint>& cues);

    // The cue table as labels in table order, texts in UTF-8 (old Windows-1252 labels are
    // converted).
    static std::vector<TimedLabel> fromCues(const std::vector<CuePoint>& cues, int32_t sampleRate,
                                            int32_t frameCount);

    // The tiers of a TextGrid: the spans sorted by start and spread over as few interval
    // tiers as keep each free of overlaps ("labels", then "labels 2", ...), since an interval
    // tier cannot hold overlapping intervals and dropping any would lose a region; then the
    // points (start == end), sorted, in one point tier "points" when there are any.
    static std::vector<TextGridTier> textGridTiers(std::vector<TimedLabel> labels);

    static int64_t frameAt(double seconds, int32_t sampleRate);
};

}  // namespace murmelix
