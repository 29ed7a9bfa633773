#include "labels/waveform_viewport.h"

#include <gtest/gtest.h>

namespace murmelix {
namespace {

// Zooming keeps the frame under the pointer in place until the view meets the data's ends or
// the zoom its limits; scrolling never leaves the data.
TEST(WaveformViewportTest, ZoomKeepsThePointedFrameAndTheViewInsideTheData) {
    struct Case {
        const char* name;
        int x;
        double factor;
        int64_t firstFrame;
        double framesPerPixel;
    } cases[] = {
        {"whole document at the start", 0, 1.0, 0, 100.0},
        {"in around the middle", 500, 4.0, 37500, 25.0},
        {"in at the left edge", 0, 4.0, 0, 25.0},
        {"in at the right edge", 1000, 4.0, 75000, 25.0},
        {"out past the whole: fits again", 500, 0.1, 0, 100.0},
        {"in past the closest zoom", 500, 1e9, 49968, 1.0 / 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WaveformViewport viewport;
        viewport.resize(100000, 1000, true);
        viewport.zoomAround(c.x, c.factor);
        EXPECT_EQ(viewport.firstFrame(), c.firstFrame);
        EXPECT_DOUBLE_EQ(viewport.framesPerPixel(), c.framesPerPixel);
        EXPECT_LE(viewport.endFrame(), 100000);
    }
    WaveformViewport viewport;
    viewport.resize(100000, 1000, true);
    viewport.zoomAround(0, 10.0);
    viewport.end();
    EXPECT_EQ(viewport.endFrame(), 100000);
    EXPECT_EQ(viewport.scrollPosition(), viewport.scrollRange());
    viewport.scrollBy(-1000000);
    EXPECT_EQ(viewport.firstFrame(), 0);
}

// The pointer grabs the nearest visible border within the tolerance, and a click inside
// nested regions picks the inner one.
TEST(WaveformViewportTest, HitsFindBordersAndTheInnermostRegion) {
    WaveformLayout layout;
    layout.regions.push_back({0, {100, 20, 300, 100}, 0, true, true, 0, 0, 0, "outer"});
    layout.regions.push_back({1, {200, 20, 50, 100}, 1, true, true, 0, 0, 0, "inner"});
    layout.regions.push_back({2, {0, 20, 80, 100}, 2, false, true, 0, 0, 0, "cut"});
    struct Case {
        int x;
        std::optional<size_t> edgeRegion;
        CueEditor::Edge edge;
        std::optional<size_t> region;
    } cases[] = {
        {102, 0, CueEditor::Edge::Start, 0},
        {249, 1, CueEditor::Edge::End, 1},
        {225, std::nullopt, {}, 1},
        {1, std::nullopt, {}, 2},
        {80, 2, CueEditor::Edge::End, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const auto edge = WaveformViewport::edgeAt(layout, c.x, 4);
        ASSERT_EQ(edge.has_value(), c.edgeRegion.has_value());
        if (edge) {
            EXPECT_EQ(edge->cueIndex, *c.edgeRegion);
            EXPECT_EQ(edge->edge, c.edge);
        }
        EXPECT_EQ(WaveformViewport::regionAt(layout, c.x), c.region);
    }
}

}  // namespace
}  // namespace murmelix
