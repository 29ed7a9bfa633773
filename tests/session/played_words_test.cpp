#include <gtest/gtest.h>

#include "session/answer_score.h"
#include "session/played_words.h"

namespace murmelix {
namespace {

// Word regions of a recording whose first word starts late, as in a real recording.
const std::vector<CuePoint> kWords = {
    {1, 1000, 1000, "river", ""}, {2, 2500, 500, "über", ""}, {3, 3000, 1000, "paper", ""},
    {4, 4500, 0, "point", ""},    {5, 5000, 400, "", ""},     {6, 6000, 1300, "where are you", ""},
};

SEQUENCE sequence(std::vector<SEGMENT> entries) {
    SEQUENCE out;
    out.entries = std::move(entries);
    return out;
}

SEGMENT at(int32_t start, int32_t length, std::string label = "") {
    SEGMENT entry;
    entry.start = start;
    entry.length = length;
    entry.label = std::move(label);
    return entry;
}

TEST(PlayedWords, EachSegmentCarriesTheWordsItOverlaps) {
    struct Case {
        std::string name;
        std::vector<SEGMENT> entries;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"whole words and a partial one", {at(900, 2400)}, "river über pa~"},
        {"the end of a word", {at(1650, 400)}, "~er"},
        {"the middle of a word", {at(1300, 400)}, "~iv~"},
        {"six tenths is whole", {at(1000, 600)}, "river"},
        {"under a fifth is nothing", {at(1000, 150), at(4400, 800)}, ""},
        {"a part keeps whole characters", {at(2500, 250)}, "üb~"},
        {"a part of a phrase without the space it was cut at", {at(6900, 500)}, "~you"},
        {"cue segments play their word", {at(0, 10, "hello"), at(3000, 1000)}, "hello paper"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto words = PlayedWords::of(sequence(c.entries), kWords);
        ASSERT_TRUE(words.has_value());
        EXPECT_EQ(PlayedWords::text(*words), c.expected);
    }
    // Nothing to tell the words by: no labelled region, no labelled entry.
    EXPECT_FALSE(PlayedWords::of(sequence({at(0, 100)}), {{1, 0, 50, "", ""}}).has_value());
}

TEST(AnswerScore, CountsTheAnswersWordsAmongTheWords) {
    struct Case {
        std::string answer;
        std::vector<std::string> words;
        size_t found;
        std::optional<double> wordErrorRate;
    };
    const std::vector<Case> cases = {
        {"River, paper!", {"river", "paper"}, 2, 0.0},
        {"the river", {"river", "paper"}, 1, 1.0},  // one insertion, one deletion
        {"river river", {"river"}, 1, 1.0},         // each word matches once
        {"Don't", {"don't"}, 1, 0.0},
        {"something", {}, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const auto score = AnswerScore::of(c.answer, c.words);
        ASSERT_TRUE(score.has_value());
        EXPECT_EQ(score->found, c.found);
        EXPECT_EQ(score->wordErrorRate, c.wordErrorRate);
    }
    EXPECT_FALSE(AnswerScore::of(" ... ", {"river"}).has_value());
}

}  // namespace
}  // namespace murmelix
