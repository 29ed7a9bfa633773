#include "labels/waveform_selection.h"

#include <gtest/gtest.h>

#include <functional>

namespace murmelix {
namespace {

using Span = std::pair<int64_t, int64_t>;

// Each case starts from the cursor at 140 in a table of three regions, listed out of time
// order, and a point; it does what the mouse or a key would and looks at the outcome.
TEST(WaveformSelectionTest, MouseAndKeysMoveTheCursorSelectionAndRegion) {
    const std::vector<CuePoint> cues = {{1, 400, 100, "late", ""},
                                        {2, 100, 100, "early", ""},
                                        {3, 120, 30, "inside", ""},
                                        {4, 300, 0, "point", ""}};
    using S = WaveformSelection;
    const struct {
        const char* name;
        std::function<void(S&)> act;
        std::optional<Span> span;
        std::optional<size_t> region;
        Span plays;
    } cases[] = {
        {"a click: the shortest region under the cursor plays", [](S&) {}, {}, {}, {120, 150}},
        {"a drag selects", [](S& s) { s.extendTo(90); }, Span{90, 140}, {}, {90, 140}},
        {"Shift+Right grows", [](S& s) { s.moveCursor(20, true); }, Span{140, 160}, {}, {140, 160}},
        {"Right alone moves the cursor", [](S& s) { s.moveCursor(20, false); }, {}, {}, {100, 200}},
        {"Shift+End selects to the end",
         [](S& s) { s.moveCursorTo(5000, true); },
         Span{140, 1000},
         {},
         {140, 1000}},
        {"Home: from the start", [](S& s) { s.moveCursorTo(0, false); }, {}, {}, {0, 1000}},
        {"the next region by its start",
         [&](S& s) { ASSERT_TRUE(s.selectNextRegion(cues, true)); },
         Span{300, 300},
         3,
         {300, 1000}},
        {"twice next: past the point",
         [&](S& s) {
             s.selectNextRegion(cues, true);
             s.selectNextRegion(cues, true);
         },
         Span{400, 500},
         0,
         {400, 500}},
        {"the previous region",
         [&](S& s) { ASSERT_TRUE(s.selectNextRegion(cues, false)); },
         Span{120, 150},
         2,
         {120, 150}},
        {"no region before the first",
         [&](S& s) {
             s.placeCursor(50);
             EXPECT_FALSE(s.selectNextRegion(cues, false));
         },
         {},
         {},
         {50, 1000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WaveformSelection selection;
        selection.reset(1000);
        selection.placeCursor(140);
        c.act(selection);
        // A selected point is a cursor at its place: no stretch.
        const std::optional<Span> span =
            c.span && c.span->first == c.span->second ? std::nullopt : c.span;
        EXPECT_EQ(selection.span(), span);
        EXPECT_EQ(selection.region(), c.region);
        EXPECT_EQ(selection.playSpan(cues), c.plays);
    }
}

TEST(WaveformSelectionTest, ForgetsARegionThatIsGone) {
    std::vector<CuePoint> cues = {{1, 100, 100, "a", ""}, {2, 300, 100, "b", ""}};
    WaveformSelection selection;
    selection.reset(1000);
    selection.selectRegion(1, cues);
    cues.pop_back();
    selection.follow(cues, 350);
    EXPECT_FALSE(selection.region().has_value());
    EXPECT_EQ(selection.span(), Span(300, 350));  // kept inside the shorter data
}

}  // namespace
}  // namespace murmelix
