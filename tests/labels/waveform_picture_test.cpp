#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "labels/peak_cache.h"
#include "labels/waveform_layout.h"
#include "labels/waveform_painter.h"
#include "labels/waveform_viewport.h"
#include "support/scratch_folder.h"

namespace murmelix {
namespace {

TEST(WaveformPictureTest, RegionsAreShadedWhereTheLayoutPutsThemAndThePngHasTheSize) {
    AudioDocument doc;
    doc.format.formatTag = 1;
    doc.format.channels = 2;
    doc.format.bitsPerSample = 16;
    doc.format.samplesPerSec = 1000;
    doc.data.assign(4000 * 4, 0);  // silence: the wave is a line on the centre
    doc.cues = {{1, 1000, 1000, "one", ""}, {2, 3000, 0, "two", ""}};
    doc.commit("q.wav");
    PeakCache peaks;
    peaks.build(doc);
    WaveformView view;
    view.width = 400;
    view.height = 120;
    view.cursorFrame = 2000;
    const WaveformLayout layout = WaveformLayout::compute(doc, peaks, view);
    ASSERT_EQ(layout.lanes.size(), 2u);
    ASSERT_EQ(layout.regions.size(), 2u);
    EXPECT_EQ(layout.regions[0].rect.x, 100);
    EXPECT_EQ(layout.regions[0].rect.width, 100);
    // Length 0 is a point: a marker, not a region to the end.
    EXPECT_TRUE(layout.regions[1].point);
    EXPECT_EQ(layout.regions[1].rect.x, 300);
    EXPECT_EQ(layout.cursorX, 200);

    const WaveformPalette palette = WaveformPalette::light();
    const RgbaImage image = WaveformPainter::paint(layout, palette, view.width, view.height);
    const int y = layout.lanes[1].rect.y + layout.lanes[1].rect.height - 3;
    EXPECT_EQ(image.at(150, y), Rgba::over(palette.regionFills[0], palette.background));
    EXPECT_EQ(image.at(300, y), palette.marker);
    EXPECT_EQ(image.at(350, y), palette.background);
    EXPECT_EQ(image.at(50, y), palette.background);
    EXPECT_EQ(image.at(200, y), palette.cursor);

    testing::ScratchFolder folder;
    ASSERT_TRUE(image.writePng(folder.file("w.png")).ok());
    std::ifstream in(folder.file("w.png"), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string png = bytes.str();
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\x90\0\0\0\x78", 8));  // 400 x 120
}

AudioDocument silence(int64_t frames) {
    AudioDocument doc;
    doc.format = WaveFormat::pcm(1000, 1, 16);
    doc.data.assign(static_cast<size_t>(frames) * 2, 0);
    doc.commit("s.wav");
    return doc;
}

// The ruler's texts step as a clock is read: 15 s, 2 min, 5 min, never 3:20.
TEST(WaveformPictureTest, RulerStepsAreClockSteps) {
    const struct {
        int64_t seconds;  // shown in 1000 pixels
        std::vector<std::string> first;
    } cases[] = {
        {5, {"0:00.0", "0:00.5", "0:01.0"}},
        {200, {"0:00", "0:15", "0:30"}},
        {1000, {"0:00", "2:00", "4:00"}},
        {1800, {"0:00", "5:00", "10:00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        const AudioDocument doc = silence(c.seconds * 1000);
        PeakCache peaks;
        peaks.build(doc);
        WaveformView view;
        view.width = 1000;
        std::vector<std::string> texts;
        for (const WaveformLayout::Tick& tick : WaveformLayout::compute(doc, peaks, view).ticks) {
            if (tick.major && texts.size() < 3) {
                texts.push_back(tick.text);
            }
        }
        EXPECT_EQ(texts, c.first);
    }
}

// A region narrower than a few pixels is a bar along the top, so that thousands of them
// leave the wave visible, one a little wider is a fill without borders; a point is a line.
TEST(WaveformPictureTest, NarrowRegionsAreBarsAndPointsAreLines) {
    AudioDocument doc = silence(1000);
    doc.cues = {{1, 100, 2, "narrow", ""},
                {2, 600, 0, "point", ""},
                {3, 800, 100, "wide", ""},
                {4, 300, 6, "few pixels", ""}};
    PeakCache peaks;
    peaks.build(doc);
    WaveformView view;
    view.width = 1000;
    const WaveformLayout layout = WaveformLayout::compute(doc, peaks, view);
    ASSERT_EQ(layout.regions.size(), 4u);
    EXPECT_TRUE(layout.regions[0].thin);
    EXPECT_FALSE(layout.regions[2].thin);
    const WaveformPalette palette = WaveformPalette::light();
    const RgbaImage image = WaveformPainter::paint(layout, palette, view.width, view.height);
    const int top = layout.lanes[0].rect.y + 1;
    const int low = layout.lanes[0].rect.y + layout.lanes[0].rect.height - 3;
    const struct {
        int x, y;
        Rgba colour;
    } pixels[] = {
        {100, top, palette.regionBorder},
        {100, low, palette.background},
        {600, low, palette.marker},
        {700, low, palette.background},
        {850, low, Rgba::over(palette.regionFills[2], palette.background)},
        {800, low, palette.regionBorder},
        {300, low, Rgba::over(palette.regionFills[0], palette.background)},  // no border
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(p.x);
        EXPECT_EQ(image.at(p.x, p.y), p.colour);
    }
}

// Found regions under review lie in a lane of their own under the table's, which stay as
// they were; one that fits poorly is in the warning colour, hatched. Clicks reach the found
// regions, not the table's.
TEST(WaveformPictureTest, FoundRegionsHaveALaneOfTheirOwn) {
    AudioDocument doc = silence(1000);
    doc.cues = {{1, 100, 400, "table", ""}};
    const std::vector<CuePoint> found = {{1, 100, 200, "good", "fit 0.3"},
                                         {2, 300, 200, "poor", "fit 0.01"}};
    const std::vector<bool> poor = {false, true};
    PeakCache peaks;
    peaks.build(doc);
    WaveformView view;
    view.width = 1000;
    view.found = &found;
    view.poorFound = &poor;
    const WaveformLayout layout = WaveformLayout::compute(doc, peaks, view);
    ASSERT_TRUE(layout.foundLane.has_value());
    const LayoutRect& lane = *layout.foundLane;
    EXPECT_EQ(lane.y + lane.height, view.height);
    EXPECT_LE(layout.lanes[0].rect.y + layout.lanes[0].rect.height, lane.y);
    EXPECT_EQ(WaveformViewport::regionAt(layout, 150), 0u);
    EXPECT_EQ(WaveformViewport::regionAt(layout, 450), 1u);
    EXPECT_EQ(WaveformViewport::regionAt(layout, 550), std::nullopt);  // only the table's there
    const WaveformPalette palette = WaveformPalette::light();
    const RgbaImage image = WaveformPainter::paint(layout, palette, view.width, view.height);
    const int inLane = lane.y + lane.height - 2;
    const int inWave = layout.lanes[0].rect.y + layout.lanes[0].rect.height - 3;
    const Rgba laneFill = palette.foundLane;
    const auto over = [](Rgba top, Rgba under) { return Rgba::over(top, under); };
    const struct {
        int x, y;
        Rgba colour;
    } pixels[] = {
        {150, inLane, over(palette.foundFills[0], laneFill)},
        {450 - (450 + inLane) % 6 + 1, inLane, over(palette.poorFill, laneFill)},
        {450 - (450 + inLane) % 6, inLane,
         over(palette.poorMark, over(palette.poorFill, laneFill))},
        {700, inLane, laneFill},
        {450, inWave, over(palette.regionFills[0], palette.background)},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(p.x);
        EXPECT_EQ(image.at(p.x, p.y), p.colour);
    }
}

}  // namespace
}  // namespace murmelix
