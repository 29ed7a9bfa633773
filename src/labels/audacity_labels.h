#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "labels/timed_label.h"

namespace murmelix {

// Audacity label tracks as text: one label a line, "start<TAB>end<TAB>text" in seconds.
// Audacity takes the text as the rest of the line, so a text may hold tabs. A line that
// starts with "\" carries the frequency range of the label above it (spectral selections)
// and is skipped, as are empty lines. Lines may end in CR LF. A line with a start alone, or
// whose second field is no number, is a point label (older Audacity wrote "start<TAB>text").
// Times may have a decimal comma ("0,5"), which Audacity reads as well.
class AudacityLabels {
  public:
    // `name` names the file in messages: "NAME, line 7: start time 'x' is not a number".
    // On failure `labels` is left empty.
    static Result parse(std::string_view bytes, const std::string& name,
                        std::vector<TimedLabel>& labels);
    // Six decimals, LF line ends, as Audacity writes them.
    static std::string format(const std::vector<TimedLabel>& labels);
};

}  // namespace murmelix
