#include "labels/waveform_status.h"

#include <gtest/gtest.h>

namespace murmelix {
namespace {

TEST(WaveformStatusTest, SaysWhereTheSelectionIsAndWhatThePointerIsOver) {
    const std::vector<CuePoint> cues = {{1, 8000, 6400, "where are you", "confidence 0.02"},
                                        {2, 480000, 0, "mark", ""}};
    WaveformSelection selection;
    selection.reset(1000000);
    const struct {
        const char* name;
        int64_t anchor;
        int64_t cursor;
        std::optional<size_t> pointed;
        const char* line;
    } cases[] = {
        {"a cursor", 12000, 12000, {}, "Cursor 0:01.500"},
        {"a selection, either way", 20000, 4000, {}, "Selection 0:00.500 to 0:02.500 (2.000 s)"},
        {"a region with its note", 0, 0, 0,
         "Cursor 0:00.000   |   Region 1 \"where are you\" 0:01.000 to 0:01.800 (0.800 s), "
         "confidence 0.02"},
        {"a point past a minute", 0, 0, 1, "Cursor 0:00.000   |   Point 2 \"mark\" at 1:00.000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        selection.placeCursor(c.anchor);
        selection.extendTo(c.cursor);
        EXPECT_EQ(WaveformStatus::line(selection, cues, c.pointed, 8000), c.line);
    }
    EXPECT_EQ(WaveformStatus::regionText(cues, 1, selection, 8000, true),
              "Found point 2 \"mark\" at 1:00.000");
}

}  // namespace
}  // namespace murmelix
