#include "speech/alignment_grammar.h"

#include <algorithm>

namespace murmelix {

std::string AlignmentGrammar::of(const std::vector<std::vector<Alternative>>& items) {
    std::string out = "#JSGF V1.0;\ngrammar transcript;\npublic <transcript> =";
    for (const auto& alternatives : items) {
        // An empty alternative makes the item optional; JSGF says so with brackets.
        const bool optional = std::any_of(alternatives.begin(), alternatives.end(),
                                          [](const Alternative& a) { return a.empty(); });
        out += optional ? " [" : " (";
        bool first = true;
        for (const Alternative& alternative : alternatives) {
            if (alternative.empty()) {
                continue;
            }
            out += first ? " " : " | ";
            first = false;
            // Unquoted: the library would keep quotes as part of the word.
            for (const std::string& word : alternative) {
                out += word + " ";
            }
        }
        out += optional ? "]" : ")";
    }
    out += " ;\n";
    return out;
}

}  // namespace murmelix
