#include <gtest/gtest.h>

#include <functional>

#include "app/found_regions_review.h"

namespace murmelix {
namespace {

std::vector<CuePoint> regions(const std::vector<std::string>& notes) {
    std::vector<CuePoint> out;
    for (size_t i = 0; i < notes.size(); ++i) {
        out.push_back({static_cast<uint32_t>(i + 1), static_cast<uint32_t>(i * 100), 100,
                       "w" + std::to_string(i), notes[i]});
    }
    return out;
}

// A review shows what was found with its count, its advice and the words to look at; it
// ends with the person's choice, a new search in its place, or a replaced document, never
// by itself.
TEST(FoundRegionsReviewTest, HoldsTheFoundRegionsUntilThePersonOrTheDocumentEndsIt) {
    struct Case {
        std::string name;
        std::function<void(FoundRegionsReview&)> act;
        bool open;
        size_t found;  // left under review
    };
    const std::vector<Case> cases = {
        {"just opened", [](FoundRegionsReview&) {}, true, 3},
        {"discarded", [](FoundRegionsReview& r) { r.discard(); }, false, 0},
        {"the same document", [](FoundRegionsReview& r) { EXPECT_FALSE(r.follow(7)); }, true, 3},
        {"another document", [](FoundRegionsReview& r) { EXPECT_TRUE(r.follow(8)); }, false, 0},
        {"a new search", [](FoundRegionsReview& r) { r.open(CueSearch{}, regions({""}), 8); }, true,
         1},
        {"a search that found nothing", [](FoundRegionsReview& r) { r.open(CueSearch{}, {}, 7); },
         false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FoundRegionsReview review;
        CueSearch words;
        words.kind = CueSearch::Kind::Words;
        review.open(words, regions({"confidence 0.85", "confidence 0.10", "fit 0.01"}), 7);
        c.act(review);
        EXPECT_EQ(review.isOpen(), c.open);
        EXPECT_EQ(review.found().size(), c.found);
        EXPECT_EQ(review.poor().size(), c.found);
        EXPECT_EQ(review.canAdopt(true), c.open);
        EXPECT_FALSE(review.canAdopt(false));
    }
}

TEST(FoundRegionsReviewTest, NamesTheCountAndTheWordsThatFitPoorly) {
    FoundRegionsReview review;
    CueSearch pauses;
    review.open(pauses, regions({""}), 1);
    EXPECT_EQ(review.heading(), "1 cue region found");
    EXPECT_NE(review.advice().find("Only one region"), std::string::npos) << review.advice();
    const std::vector<std::string> notes = {"fit 0.32",        "fit 0.04", "confidence 0.85",
                                            "confidence 0.19", "AH",       ""};
    review.open(pauses, regions(notes), 1);
    EXPECT_EQ(review.heading(), "6 cue regions found");
    EXPECT_EQ(review.advice(), "");
    EXPECT_EQ(review.poor(), (std::vector<bool>{false, true, false, true, false, false}));
}

}  // namespace
}  // namespace murmelix
