#pragma once

#include <string>
#include <vector>

namespace murmelix {

// A JSGF grammar that lets the recogniser hear nothing but the given sequence: one item
// after another, each spoken as one of its alternatives (a list of dictionary words; an empty
// one makes the item optional). The
// decoder itself allows silence and fillers between the words.
class AlignmentGrammar {
  public:
    using Alternative = std::vector<std::string>;
    static std::string of(const std::vector<std::vector<Alternative>>& items);
};

}  // namespace murmelix
