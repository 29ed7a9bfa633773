#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace murmelix {

// The words someone said, as plain text: split at white space and dashes, with the
// punctuation around each word left off ("Well," is "Well"; "don't" keeps its apostrophe).
class Transcript {
  public:
    struct Word {
        std::string written;  // as the text has it: the region's label
        std::string key;      // lower case ASCII letters as the dictionary spells it
        bool operator==(const Word&) const = default;
    };

    static std::vector<Word> words(std::string_view text);
    // A transcript file, at most kMaxFileSize bytes; the failure names the file.
    static Result readFile(const std::string& path, std::string& text);

    static constexpr size_t kMaxFileSize = 4 * 1024 * 1024;
};

}  // namespace murmelix
