#include "labels/waveform_viewport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace murmelix {

double WaveformViewport::fitFramesPerPixel() const {
    return std::max(static_cast<double>(frameCount_), 1.0) / width_;
}

void WaveformViewport::resize(int64_t frameCount, int width, bool fit) {
    const bool wasWhole = fitsWhole();
    frameCount_ = std::max<int64_t>(frameCount, 0);
    width_ = std::max(width, 1);
    if (fit || wasWhole) {
        framesPerPixel_ = fitFramesPerPixel();
        first_ = 0.0;
    }
    clamp();
}

void WaveformViewport::clamp() {
    // The scroll bar counts pixels in an int: the closest zoom keeps the whole document
    // within its range.
    const double closest =
        std::max(1.0 / kMaxPixelsPerFrame,
                 static_cast<double>(frameCount_) / (std::numeric_limits<int>::max() / 2.0));
    framesPerPixel_ =
        std::clamp(framesPerPixel_, std::min(closest, fitFramesPerPixel()), fitFramesPerPixel());
    const double last = static_cast<double>(frameCount_) - width_ * framesPerPixel_;
    first_ = std::clamp(first_, 0.0, std::max(last, 0.0));
}

void WaveformViewport::zoomAround(int x, double factor) {
    const double anchor = first_ + x * framesPerPixel_;
    framesPerPixel_ /= factor;
    clamp();
    first_ = anchor - x * framesPerPixel_;
    clamp();
}

void WaveformViewport::zoomTo(int64_t first, int64_t end) {
    framesPerPixel_ = std::max<double>(static_cast<double>(end - first), 1.0) / width_;
    clamp();
    // Centred: a stretch shorter than the closest zoom shows in the middle.
    first_ = (static_cast<double>(first + end) - width_ * framesPerPixel_) / 2;
    clamp();
}

void WaveformViewport::reveal(int64_t first, int64_t end) {
    const double shown = width_ * framesPerPixel_;
    if (first < first_ || static_cast<double>(end - first) > shown) {
        first_ = static_cast<double>(first);
    } else if (static_cast<double>(end) > first_ + shown) {
        first_ = static_cast<double>(end) - shown;
    }
    clamp();
}

void WaveformViewport::scrollTo(int64_t pixel) {
    first_ = static_cast<double>(pixel) * framesPerPixel_;
    clamp();
}

int64_t WaveformViewport::firstFrame() const {
    return static_cast<int64_t>(std::floor(first_));
}

int64_t WaveformViewport::endFrame() const {
    const auto end = static_cast<int64_t>(std::ceil(first_ + width_ * framesPerPixel_));
    return std::min(std::max(end, firstFrame() + 1), std::max<int64_t>(frameCount_, 1));
}

int64_t WaveformViewport::scrollPosition() const {
    return std::llround(first_ / framesPerPixel_);
}

int64_t WaveformViewport::scrollRange() const {
    const auto total = static_cast<int64_t>(std::ceil(frameCount_ / framesPerPixel_));
    return std::max<int64_t>(total - width_, 0);
}

WaveformView WaveformViewport::apply(WaveformView view) const {
    view.width = width_;
    view.firstFrame = firstFrame();
    view.endFrame = endFrame();
    return view;
}

std::optional<WaveformViewport::Edge> WaveformViewport::edgeAt(const WaveformLayout& layout, int x,
                                                               int tolerance) {
    std::optional<Edge> found;
    int best = tolerance + 1;
    const auto consider = [&](size_t index, CueEditor::Edge edge, int edgeX) {
        const int distance = std::abs(edgeX - x);
        if (distance <= best) {
            best = distance;
            found = Edge{index, edge};
        }
    };
    for (const WaveformLayout::Region& region : layout.regions) {
        if (region.found) {
            continue;  // found regions are looked at, not edited
        }
        if (region.startVisible) {
            consider(region.cueIndex, CueEditor::Edge::Start, region.rect.x);
        }
        if (region.endVisible) {
            consider(region.cueIndex, CueEditor::Edge::End, region.rect.x + region.rect.width - 1);
        }
    }
    return found;
}

bool WaveformViewport::reachable(const WaveformLayout& layout,
                                 const WaveformLayout::Region& region) {
    return region.found == layout.foundLane.has_value();
}

std::optional<size_t> WaveformViewport::regionAt(const WaveformLayout& layout, int x) {
    std::optional<size_t> found;
    int narrowest = std::numeric_limits<int>::max();
    for (const WaveformLayout::Region& region : layout.regions) {
        if (!reachable(layout, region)) {
            continue;
        }
        const int reach = region.point ? kPointReach : 0;
        const int width = region.point ? 0 : region.rect.width;
        if (x >= region.rect.x - reach && x < region.rect.x + region.rect.width + reach &&
            width <= narrowest) {
            narrowest = width;
            found = region.cueIndex;
        }
    }
    return found;
}

std::optional<size_t> WaveformViewport::labelAt(const WaveformLayout& layout, int x, int y,
                                                int textHeight, int charWidth) {
    std::optional<size_t> found;
    for (const WaveformLayout::Region& region : layout.regions) {
        if (!reachable(layout, region)) {
            continue;
        }
        const auto chars = static_cast<int>(std::max<size_t>(region.label.size(), 2));
        const int right = std::min(region.labelX + chars * charWidth, region.labelClipRight);
        if (!region.thin && x >= region.labelX && x < right && y >= region.labelY &&
            y < region.labelY + textHeight) {
            found = region.cueIndex;  // the later one is drawn on top
        }
    }
    return found;
}

}  // namespace murmelix
