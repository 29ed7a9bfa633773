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
// point label again. Times are rounded to the nearest frame; a label that ends after the
// data is cut at its end; a span shorter than half a frame keeps one frame, so that it
// does not turn into a marker. A label that starts at or after the end of the data cannot
// be a region of this document: the labels are refused with a message naming the line.
class LabelCues {
  public:
    // Cue points numbered 1, 2, ... in the labels' order; labels cut to what a WAV file
    // keeps (255 bytes). `name` names the label file in messages.
    static Result toCues(const std::vector<TimedLabel>& labels, const std::string& name,
                         int32_t sampleRate, int32_t frameCount, std::vector<CuePoint>& cues);

    // The cue table as labels in table order, texts in UTF-8 (old Windows-1252 labels are
    // converted). With `pointsAsSpans` a length-0 point becomes the region it stands for
    // (up to the end of the data), for formats without point labels.
    static std::vector<TimedLabel> fromCues(const std::vector<CuePoint>& cues, int32_t sampleRate,
                                            int32_t frameCount, bool pointsAsSpans);

    // Interval tiers for a TextGrid: labels sorted by start and spread over as few tiers as
    // keep each tier free of overlaps ("labels", then "labels 2", ...). An interval tier
    // cannot hold overlapping intervals, and dropping any would lose a region.
    static std::vector<TextGridTier> tiersWithoutOverlap(std::vector<TimedLabel> labels);

    static int64_t frameAt(double seconds, int32_t sampleRate);
};

}  // namespace murmelix
