#include "labels/waveform_borders.h"

#include <gtest/gtest.h>

namespace murmelix {
namespace {

// Borders at one frame a pixel: regions a [100, 200) and b [200, 300) share a border, c
// [500, 503) is too narrow to tell its borders apart, the point p stands at 700.
WaveformLayout framePerPixel() {
    WaveformLayout layout;
    layout.framesPerPixel = 1.0;
    return layout;
}

const std::vector<CuePoint> kCues = {
    {1, 100, 100, "a", ""}, {2, 200, 100, "b", ""}, {3, 500, 3, "c", ""}, {4, 700, 0, "p", ""}};

TEST(WaveformBordersTest, OnlyBordersClearOfTheirNeighboursAreGrabbed) {
    using E = CueEditor::Edge;
    const struct {
        const char* name;
        int x;
        std::vector<CueEditor::EdgeRef> edges;  // empty: nothing grabbed
    } cases[] = {
        {"a lone start", 98, {{0, E::Start}}},
        {"a shared border moves both", 203, {{0, E::End}, {1, E::Start}}},
        {"the last end", 300, {{1, E::End}}},
        {"beyond reach", 250, {}},
        {"crowded borders of a narrow region", 501, {}},
        {"a point", 702, {{3, E::Start}}},
    };
    const WaveformBorders borders(kCues, 1000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto grabbed = borders.grab(framePerPixel(), c.x, 4, 9);
        EXPECT_EQ(grabbed ? grabbed->edges : std::vector<CueEditor::EdgeRef>{}, c.edges);
    }
    // Zoomed out a hundred frames a pixel, every border is crowded.
    WaveformLayout wide = framePerPixel();
    wide.framesPerPixel = 100.0;
    EXPECT_FALSE(borders.grab(wide, 2, 4, 9).has_value());
}

TEST(WaveformBordersTest, DraggedBordersSnapToNeighboursThenZeroCrossings) {
    AudioDocument doc;
    doc.format = WaveFormat::pcm(8000, 1, 16);
    doc.data.assign(2000, 0);
    doc.commit("z.wav");
    for (int f = 0; f < doc.frameCount; ++f) {
        doc.write(0, f, (f / 50) % 2 == 0 ? 1000 : -1000);  // rises at 0, 100, 200, ...
    }
    const struct {
        const char* name;
        int64_t frame;
        bool zeroCrossings;
        int64_t landed;
    } cases[] = {
        {"near another border", 496, false, 500},
        {"free, without snapping", 420, false, 420},
        {"free, on the nearest rising zero crossing", 404, true, 400},
        {"no crossing within reach", 450, true, 450},
    };
    const WaveformBorders borders(kCues, doc.frameCount);
    const WaveformBorders::Border dragged = borders.all().front();  // a's start
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(borders.snapped(doc, framePerPixel(), c.frame, dragged, {c.zeroCrossings, 6}),
                  c.landed);
    }
}

}  // namespace
}  // namespace murmelix
