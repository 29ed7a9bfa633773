#include "labels/waveform_painter.h"

#include "labels/bitmap_font.h"

namespace murmelix {

namespace {

constexpr int kHatchSpacing = 6;

// Diagonal lines across a region that needs a second look.
void hatch(RgbaImage& image, const LayoutRect& r, Rgba colour) {
    for (int y = r.y; y < r.y + r.height; ++y) {
        for (int x = r.x; x < r.x + r.width; ++x) {
            if ((x + y) % kHatchSpacing == 0) {
                image.blend(x, y, colour);
            }
        }
    }
}

}  // namespace

RgbaImage WaveformPainter::paint(const WaveformLayout& layout, const WaveformPalette& palette,
                                 int width, int height) {
    RgbaImage image(width, height, palette.background);
    const LayoutRect& ruler = layout.ruler;
    image.fillRect(ruler.x, ruler.y, ruler.width, ruler.height, palette.rulerBackground);
    for (const WaveformLayout::Tick& tick : layout.ticks) {
        const int length = tick.major ? ruler.height / 2 : ruler.height / 4;
        image.verticalLine(tick.x, ruler.y + ruler.height - length, ruler.y + ruler.height - 1,
                           palette.tick);
        if (tick.major) {
            image.drawText(tick.x + 2, ruler.y + 2, tick.text, palette.rulerText, width);
        }
    }
    for (const WaveformLayout::Lane& lane : layout.lanes) {
        image.fillRect(lane.rect.x, lane.centreY, lane.rect.width, 1, palette.centreLine);
    }
    if (layout.foundLane) {
        const LayoutRect& lane = *layout.foundLane;
        image.fillRect(lane.x, lane.y, lane.width, lane.height, palette.foundLane);
    }
    for (const WaveformLayout::Region& region : layout.regions) {
        const LayoutRect& r = region.rect;
        if (!region.point && !region.thin) {
            image.fillRect(r.x, r.y, r.width, r.height, palette.fillOf(region));
        }
        if (region.poor && !region.thin) {
            hatch(image, r, palette.poorMark);
        }
    }
    for (const WaveformLayout::Lane& lane : layout.lanes) {
        for (const WaveformLayout::Column& column : lane.columns) {
            image.verticalLine(column.x, column.top, column.bottom, palette.wave);
        }
    }
    if (layout.highlight) {
        const LayoutRect& h = *layout.highlight;
        image.fillRect(h.x, h.y, h.width, h.height, palette.highlight);
    }
    for (const WaveformLayout::Region& region : layout.regions) {
        const LayoutRect& r = region.rect;
        const Rgba border = palette.borderOf(region);
        if (region.thin) {
            image.fillRect(r.x, r.y, r.width, WaveformLayout::kThinBarHeight, border);
            continue;
        }
        if (region.bordered && region.startVisible) {
            image.verticalLine(r.x, r.y, r.y + r.height - 1, border);
        }
        if (region.bordered && region.endVisible) {
            image.verticalLine(r.x + r.width - 1, r.y, r.y + r.height - 1, border);
        }
        image.drawText(region.labelX, region.labelY, region.label, palette.textOf(region),
                       region.labelClipRight);
    }
    if (layout.cursorX) {
        const int top = ruler.y + ruler.height;
        const int w = WaveformLayout::kCursorWidth;
        image.fillRect(*layout.cursorX - 1, top, w + 2, height - top, palette.cursorOutline);
        image.fillRect(*layout.cursorX, top, w, height - top, palette.cursor);
    }
    return image;
}

}  // namespace murmelix
