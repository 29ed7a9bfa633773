#include <gtest/gtest.h>

#include "speech/pause_finder.h"
#include "speech/transcript.h"

namespace murmelix {
namespace {

TEST(PauseFinder, CutsAtTheThresholdWithHysteresisAndLimits) {
    using Block = PauseFinder::Block;
    struct Case {
        std::string name;
        std::vector<float> levels;
        PauseFinder::Limits limits;
        std::vector<Block> expected;
    };
    const float q = -120.0f;  // digital silence
    const std::vector<Case> cases = {
        {"two words", {q, q, -10, -5, q, q, q, -8, q}, {20.0, 1, 1}, {{2, 4}, {7, 8}}},
        // Falling 3 dB under the threshold does not end a region; 8 dB under does.
        {"hysteresis", {q, -5, -28, -5, -33, q}, {20.0, 1, 1}, {{1, 4}}},
        {"the rise belongs to it", {q, -28, -5, q}, {20.0, 1, 1}, {{1, 3}}},
        {"short pause joined", {-5, q, -5, q, q, -5}, {20.0, 2, 1}, {{0, 3}, {5, 6}}},
        {"short region dropped", {-5, q, q, -5, -5, -5}, {20.0, 1, 2}, {{3, 6}}},
        {"automatic over silence", {q, q, q, -30, -10, -30, q, q}, {std::nullopt, 1, 1}, {{3, 6}}},
        {"automatic over noise",
         {-60, -61, -59, -60, -20, -60, -58},
         {std::nullopt, 1, 1},
         {{4, 5}}},
        {"silence only", {q, q, q}, {std::nullopt, 1, 1}, {}},
        {"nothing", {}, {20.0, 1, 1}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PauseFinder::regions(c.levels, c.limits), c.expected);
    }
}

TEST(Transcript, SplitsWordsAndLeavesPunctuationOff) {
    struct Case {
        std::string text;
        std::vector<Transcript::Word> expected;
    };
    const std::vector<Case> cases = {
        {"Hello, world!", {{"Hello", "hello"}, {"world", "world"}}},
        {"  don't\tstop-now\r\n", {{"don't", "don't"}, {"stop", "stop"}, {"now", "now"}}},
        {"\"Quoted.\" ... -- 42", {{"Quoted", "quoted"}, {"42", "42"}}},
        {"Grüße", {{"Grüße", "grüße"}}},
        {" .,;!? ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Transcript::words(c.text), c.expected);
    }
}

}  // namespace
}  // namespace murmelix
