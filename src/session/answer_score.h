#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace murmelix {

// How close a listener's answer came to a list of words: the words the sequence played, or
// what a recogniser heard in it. Both are compared as words, in lower case and without the
// punctuation around them.
struct AnswerScore {
    size_t answerWords = 0;
    // Answer words among the words (each of the words matches one answer word at most).
    size_t found = 0;
    // Substitutions, insertions and deletions that turn the words into the answer, per word
    // of the words (the usual word error rate, the words taken as the truth); none when
    // there are no words.
    std::optional<double> wordErrorRate;

    double foundShare() const {
        return answerWords == 0 ? 0.0 : static_cast<double>(found) / answerWords;
    }

    // Letters, digits and apostrophes inside a word count; ASCII letters in lower case.
    static std::vector<std::string> wordsOf(std::string_view text);
    // None for an answer without words.
    static std::optional<AnswerScore> of(std::string_view answer,
                                         const std::vector<std::string>& words);

    bool operator==(const AnswerScore&) const = default;
};

}  // namespace murmelix
