#include "gui/feedback_symbol.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>

namespace murmelix {
namespace {

TEST(FeedbackSymbolTest, SegmentNumberGivesCharacterAndColour) {
    const struct {
        int32_t number;
        int code;
        int colorIndex;
        uint32_t colorRef;
        FeedbackSymbol::Rgb rgb;
    } cases[] = {
        {0, 33, 0, 0x000000, {0, 0, 0}},           // black
        {222, 255, 0, 0x000000, {0, 0, 0}},        // last character, still black
        {223, 33, 1, 0x000080, {128, 0, 0}},       // maroon: red in the low byte
        {446, 33, 2, 0x008000, {0, 128, 0}},       // green
        {892, 33, 4, 0x800000, {0, 0, 128}},       // navy: blue in the high byte
        {2007 + 5, 38, 9, 0x0000FF, {255, 0, 0}},  // red
        {3344, 255, 14, 0xFFFF00, {0, 255, 255}},  // aqua
        {3345, 33, 0, 0x000000, {0, 0, 0}},        // the cycle begins again
        {3345 + 224, 34, 1, 0x000080, {128, 0, 0}},
        {-1, 255, 14, 0xFFFF00, {0, 255, 255}},  // wraps instead of leaving the range
        {INT32_MIN, 141, 13, 0xFF00FF, {255, 0, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(FeedbackSymbol::characterCode(c.number), c.code);
        EXPECT_EQ(FeedbackSymbol::colorIndex(c.number), c.colorIndex);
        EXPECT_EQ(FeedbackSymbol::colorRef(c.number), c.colorRef);
        EXPECT_EQ(FeedbackSymbol::toRgb(FeedbackSymbol::colorRef(c.number)), c.rgb);
    }
}

TEST(FeedbackSymbolTest, ColourTableHoldsTheFifteenStandardColoursWithoutWhite) {
    const struct {
        int index;
        FeedbackSymbol::Rgb rgb;
    } cases[] = {
        {0, {0, 0, 0}},       {1, {128, 0, 0}},    {2, {0, 128, 0}},    {3, {128, 128, 0}},
        {4, {0, 0, 128}},     {5, {128, 0, 128}},  {6, {0, 128, 128}},  {7, {192, 192, 192}},
        {8, {128, 128, 128}}, {9, {255, 0, 0}},    {10, {0, 255, 0}},   {11, {255, 255, 0}},
        {12, {0, 0, 255}},    {13, {255, 0, 255}}, {14, {0, 255, 255}}, {15, {0, 0, 0}},
    };
    std::set<uint32_t> seen;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const uint32_t color = FeedbackSymbol::tableColor(c.index);
        EXPECT_EQ(FeedbackSymbol::toRgb(color), c.rgb);
        EXPECT_NE(color, 0xFFFFFFu);
        seen.insert(color);
    }
    EXPECT_EQ(seen.size(), 15u);
}

TEST(FeedbackSymbolTest, EveryCombinationAppearsOncePerCycle) {
    std::set<std::pair<int, uint32_t>> combinations;
    for (int32_t n = 0; n < FeedbackSymbol::kCombinationCount; ++n) {
        combinations.emplace(FeedbackSymbol::characterCode(n), FeedbackSymbol::colorRef(n));
        ASSERT_EQ(FeedbackSymbol::characterCode(n + FeedbackSymbol::kCombinationCount),
                  FeedbackSymbol::characterCode(n));
        ASSERT_EQ(FeedbackSymbol::colorRef(n + FeedbackSymbol::kCombinationCount),
                  FeedbackSymbol::colorRef(n));
    }
    EXPECT_EQ(combinations.size(), 3345u);
}

TEST(FeedbackSymbolTest, NotesFollowTheSegmentControls) {
    const std::string noteA = "\"Segments To\" and \"Overlap\" should not be checked.";
    const std::string noteB4000 =
        "Number of segments (4000) is greater than number of character/color combinations "
        "(3345). ";
    using Context = FeedbackSymbol::Context;
    const struct {
        const char* name;
        Context context;
        std::string notes;
    } cases[] = {
        {"nothing to note", {.segmentCount = 100, .durationEnabled = true}, ""},
        {"To checked and enabled",
         {.segToChecked = true, .segToEnabled = true, .durationEnabled = true},
         "Note: " + noteA},
        {"To checked but disabled", {.segToChecked = true, .durationEnabled = true}, ""},
        {"Overlap checked and enabled",
         {.overlapChecked = true, .overlapEnabled = true, .durationEnabled = true},
         "Note: " + noteA},
        {"Overlap checked but disabled", {.overlapChecked = true, .overlapEnabled = false}, ""},
        {"exactly as many segments as combinations",
         {.segmentCount = 3345, .durationEnabled = true},
         ""},
        {"one segment more",
         {.segmentCount = 3346, .durationEnabled = true},
         "Note: Number of segments (3346) is greater than number of character/color "
         "combinations (3345). "},
        {"4000 segments with To",
         {.segToChecked = true,
          .segToEnabled = true,
          .segmentCount = 4000,
          .durationEnabled = true},
         "Note: " + noteB4000 + "Also " + noteA},
        {"cue mode: duration disabled", {.segmentCount = 4000, .durationEnabled = false}, ""},
        {"more segments than an int holds",
         {.segmentCount = 5000000000LL, .durationEnabled = true},
         "Note: Number of segments (5000000000) is greater than number of character/color "
         "combinations (3345). "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FeedbackSymbol::notes(c.context), c.notes);
    }
}

}  // namespace
}  // namespace murmelix
