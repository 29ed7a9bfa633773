#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace murmelix {

// Cue labels and notes, as the reader keeps them and the writer stores them: a text ends
// at its first zero byte and holds at most kMaxLength bytes.
class CueText {
  public:
    static constexpr size_t kMaxLength = 255;

    // The text up to its first zero byte, cut to kMaxLength bytes. When the text is valid
    // UTF-8 the cut moves back to a character boundary, so that a long label does not
    // turn into an invalid string (which the windows would show as Windows-1252).
    static std::string limit(std::string_view text);
};

}  // namespace murmelix
