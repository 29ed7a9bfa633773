#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "labels/peak_cache.h"

namespace murmelix {

// What a waveform view shows: a stretch of the document in a picture of a given size.
struct WaveformView {
    int width = 800;
    int height = 200;
    int64_t firstFrame = 0;
    int64_t endFrame = 0;  // exclusive; 0 or less: the end of the data
    // The segment now playing, [first, end) in frames.
    std::optional<std::pair<int64_t, int64_t>> highlight;
    std::optional<int64_t> cursorFrame;
    // Regions found in the recording and under review, drawn in a lane of their own under
    // the document's, which stay as they are; `poorFound` (as long, or null) marks those
    // that fit their words poorly. Not owned.
    const std::vector<CuePoint>* found = nullptr;
    const std::vector<bool>* poorFound = nullptr;
    // Text metrics of the font the labels are drawn in.
    int textHeight = 10;
    int charWidth = 7;
};

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const LayoutRect&) const = default;
};

// Where everything of a waveform picture goes, in pixels, for a given view: computed
// without drawing, so the toolkit-free raster painter and the window's QPainter draw the
// same picture from it. Colours are named by role (WaveformPalette); regions carry the
// index of their fill colour.
struct WaveformLayout {
    struct Tick {
        int x;
        bool major;        // major ticks carry a text
        std::string text;  // "1:05", "0:02.5"
    };
    struct Column {
        int x;
        int top;     // the maximum, as y
        int bottom;  // the minimum, as y
    };
    struct Lane {
        int channel;
        LayoutRect rect;
        int centreY;
        std::vector<Column> columns;  // only where there is data
    };
    struct Region {
        size_t cueIndex;    // place in the cue table, or among the found regions
        LayoutRect rect;    // spans every lane, cut to the view
        int fill;           // index into WaveformPalette::regionFills
        bool startVisible;  // borders are drawn where the region really starts or ends
        bool endVisible;
        int labelX;
        int labelY;
        int labelClipRight;  // the label is cut here (short of the region's right edge)
        std::string label;   // UTF-8, as in the cue table; empty with no room for it
        // A point (length 0): a marker line at rect.x, its label beside it.
        bool point = false;
        // Narrower than kThinRegion: a bar along the top of the lanes, without borders or
        // label, so that a dense view keeps the wave visible.
        bool thin = false;
        // Wide enough for its borders to be drawn: narrower regions are told apart by their
        // fills alone, so that a dense view is not a fence of lines.
        bool bordered = true;
        // One of the found regions, in their lane; poor: it fits its word poorly.
        bool found = false;
        bool poor = false;
    };
    static constexpr int kThinRegion = 4;
    static constexpr int kBorderedRegion = 10;
    static constexpr int kThinBarHeight = 5;
    // The play cursor: this wide, with a pixel of the background either side.
    static constexpr int kCursorWidth = 2;
    // The found regions' lane: a row of labels with this much room around it.
    static constexpr int kFoundLanePadding = 12;

    LayoutRect ruler;
    std::vector<Tick> ticks;
    std::vector<Lane> lanes;
    std::vector<Region> regions;
    // The lane of the found regions, under the waveform's lanes, while there are some.
    std::optional<LayoutRect> foundLane;
    std::optional<LayoutRect> highlight;
    std::optional<int> cursorX;
    double framesPerPixel = 1.0;
    int64_t firstFrame = 0;

    // Lays out `view` of `doc`, with peaks from `peaks` (built from `doc`).
    static WaveformLayout compute(const AudioDocument& doc, const PeakCache& peaks,
                                  const WaveformView& view);

    // The pixel column of a frame and the frame of a pixel column, for mouse work.
    int xOf(int64_t frame) const;
    int64_t frameAt(int x) const;
};

}  // namespace murmelix
