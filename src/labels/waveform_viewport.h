#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "labels/cue_editor.h"
#include "labels/waveform_layout.h"

namespace murmelix {

// Which stretch of a document a waveform window shows, and what lies under the mouse: the
// window's logic apart from painting. The whole document fits the width at the start;
// zooming keeps the frame under the pointer where it is, and the view never leaves the
// data. Positions are whole pixels of the view; the scroll bar counts pixels too.
class WaveformViewport {
  public:
    // Closest zoom: this many pixels a frame.
    static constexpr double kMaxPixelsPerFrame = 16.0;

    // A new document or a new width: the whole document fits again only when it did before
    // (or for a new document, `fit`).
    void resize(int64_t frameCount, int width, bool fit);
    void zoomAround(int x, double factor);
    void scrollTo(int64_t pixel);
    void scrollBy(int pixels) { scrollTo(scrollPosition() + pixels); }
    void home() { scrollTo(0); }
    void end() { scrollTo(scrollRange()); }
    // Frames [first, end) fill the width, as far as the zoom limits allow.
    void zoomTo(int64_t first, int64_t end);
    void fit() { zoomTo(0, frameCount_); }
    // Scrolls as little as brings [first, end) into view (its start, when it is wider).
    void reveal(int64_t first, int64_t end);

    int width() const { return width_; }
    int64_t frameCount() const { return frameCount_; }
    double framesPerPixel() const { return framesPerPixel_; }
    int64_t firstFrame() const;
    int64_t endFrame() const;
    bool fitsWhole() const { return framesPerPixel_ >= fitFramesPerPixel(); }
    // The scroll bar: its value, largest value and page, in pixels.
    int64_t scrollPosition() const;
    int64_t scrollRange() const;

    // The view for the layout, with the rest of `view` (size, highlight, cursor) as given.
    WaveformView apply(WaveformView view) const;

    // The border of a region within `tolerance` pixels of x (the closest; at equal distance
    // the later region, which is drawn on top).
    struct Edge {
        size_t cueIndex;
        CueEditor::Edge edge;
    };
    static std::optional<Edge> edgeAt(const WaveformLayout& layout, int x, int tolerance);
    // While found regions are under review, clicks reach them and not the table's.
    static bool reachable(const WaveformLayout& layout, const WaveformLayout::Region& region);
    // The region under x: the shortest of those that cover it, so that a region inside
    // another stays reachable; a point (a marker) within `kPointReach` pixels comes first.
    static constexpr int kPointReach = 3;
    static std::optional<size_t> regionAt(const WaveformLayout& layout, int x);
    // The region whose drawn label is under (x, y), for labels `textHeight` high in a font
    // of `charWidth` average width; an empty label is reached where it would start.
    static std::optional<size_t> labelAt(const WaveformLayout& layout, int x, int y, int textHeight,
                                         int charWidth);

  private:
    double fitFramesPerPixel() const;
    void clamp();

    int64_t frameCount_ = 0;
    int width_ = 1;
    double framesPerPixel_ = 1.0;
    double first_ = 0.0;  // frames, fractional when zoomed in closer than a frame a pixel
};

}  // namespace murmelix
