#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "labels/timed_label.h"

namespace murmelix {

// One tier of a TextGrid: an interval tier, or a point tier (whose labels have start == end).
struct TextGridTier {
    std::string name;
    bool points = false;
    std::vector<TimedLabel> labels;

    bool operator==(const TextGridTier&) const = default;
};

// Praat TextGrid files in the text format, long ("xmin = 0", "intervals [1]:") or short
// (values only), in UTF-8 or UTF-16 with its byte order mark. Binary and chronological
// TextGrids are refused with a message of their own. Intervals without text are the gaps
// between labels and are not returned; an interval whose text is blank is a region with an
// empty label (the export writes such a region with the text " "). Every point is returned,
// with or without a mark.
class TextGrid {
  public:
    // `name` names the file in messages: "NAME, line 12: ...". On failure `tiers` is empty.
    static Result parse(std::string_view bytes, const std::string& name,
                        std::vector<TextGridTier>& tiers);

    // The long text form in UTF-8, as Praat writes it. Each tier's labels must be sorted and
    // must not overlap; the gaps between them, and before the first and after the last up to
    // xmin and xmax, are filled with empty intervals, and a region with an empty (or blank)
    // label is written with the text " ". A point tier is written as such.
    static std::string format(const std::vector<TextGridTier>& tiers, double xmin, double xmax);
};

}  // namespace murmelix
