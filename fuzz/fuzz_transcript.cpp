// Feeds arbitrary bytes to the transcript reader, and its words to the alignment grammar:
// nothing may crash, every word is non-empty and holds no white space, and the grammar
// names each word.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "speech/alignment_grammar.h"
#include "speech/transcript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto words = murmelix::Transcript::words(text);
    std::vector<std::vector<murmelix::AlignmentGrammar::Alternative>> items;
    for (const auto& word : words) {
        if (word.written.empty() || word.key.size() != word.written.size() ||
            word.written.find_first_of(" \t\r\n-") != std::string::npos) {
            std::abort();
        }
        items.push_back({{word.key}, {}});
    }
    const std::string grammar = murmelix::AlignmentGrammar::of(items);
    for (const auto& word : words) {
        if (grammar.find(word.key) == std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
