#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace murmelix {

// Times in label files: decimal numbers with "." whatever the locale, as the programs that
// write them do.
class LabelNumber {
  public:
    // The number the whole text (surrounding blanks aside) stands for; none for anything
    // else, for infinities and for NaN.
    static std::optional<double> parse(std::string_view text);
    // The shortest text that reads back as the same double.
    static std::string shortest(double value);
    // Six decimals, as Audacity writes its labels.
    static std::string fixed6(double value);
};

}  // namespace murmelix
