#include <gtest/gtest.h>

#include "app/found_regions_advice.h"

namespace murmelix {
namespace {

CuePoint word(const std::string& label, uint32_t length, const std::string& note) {
    return CuePoint{1, 0, length, label, note};
}

TEST(FoundRegionsAdvice, NamesWhatTheSettingsOrTheTranscriptMayHaveMissed) {
    struct Case {
        std::string name;
        CueSearch::Kind kind;
        std::string transcript;
        std::vector<CuePoint> found;
        std::string expected;  // found in the advice; empty: no advice
    };
    const std::vector<Case> cases = {
        {"one pause region", CueSearch::Kind::Pauses, "", {word("1", 9, "")}, "at least 150 ms"},
        {"pauses found", CueSearch::Kind::Pauses, "", {word("1", 9, ""), word("2", 9, "")}, ""},
        {"words that fit",
         CueSearch::Kind::Words,
         "a b",
         {word("a", 100, "fit 0.31"), word("b", 100, "fit 0.22")},
         ""},
        // One word fits badly but most of the speech is long and well fitted.
        {"one word off",
         CueSearch::Kind::Words,
         "a b c",
         {word("a", 900, "fit 0.35"), word("b", 10, "fit 0.01"), word("c", 900, "fit 0.3")},
         "1 of the 3 words fit the speech poorly, so they may not be what was said there: 'b'."},
        {"wrong transcript",
         CueSearch::Kind::Words,
         "a b",
         {word("a", 100, "fit 0.01"), word("b", 100, "fit 0.04")},
         "fit 0.02"},
        {"heard, not aligned", CueSearch::Kind::Words, "", {word("a", 100, "confidence 0.01")}, ""},
        {"phonemes", CueSearch::Kind::Phonemes, "a", {word("AH", 100, "a")}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CueSearch search;
        search.kind = c.kind;
        search.recognition.transcript = c.transcript;
        const std::string advice = FoundRegionsAdvice::of(search, c.found);
        if (c.expected.empty()) {
            EXPECT_EQ(advice, "");
        } else {
            EXPECT_NE(advice.find(c.expected), std::string::npos) << advice;
        }
    }
}

}  // namespace
}  // namespace murmelix
