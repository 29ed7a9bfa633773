#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "labels/peak_cache.h"
#include "labels/waveform_layout.h"
#include "labels/waveform_painter.h"
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
    EXPECT_EQ(layout.regions[1].rect.x + layout.regions[1].rect.width, 400);
    EXPECT_EQ(layout.cursorX, 200);

    const WaveformPalette palette = WaveformPalette::light();
    const RgbaImage image = WaveformPainter::paint(layout, palette, view.width, view.height);
    const int y = layout.lanes[1].rect.y + layout.lanes[1].rect.height - 3;
    EXPECT_EQ(image.at(150, y), Rgba::over(palette.regionFills[0], palette.background));
    EXPECT_EQ(image.at(350, y), Rgba::over(palette.regionFills[1], palette.background));
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

}  // namespace
}  // namespace murmelix
