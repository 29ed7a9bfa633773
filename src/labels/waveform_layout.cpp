#include "labels/waveform_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace murmelix {

namespace {

constexpr int kLaneGap = 1;
constexpr int kMinLabelSpacing = 70;  // pixels between ruler texts at least

struct TickStep {
    double seconds;  // between major ticks, which carry the text
    int minor;       // minor ticks a step
};

// Steps a person reads a clock in: 1, 2 and 5 times a power of ten below a minute (with 15
// and 30 seconds), then whole minutes and hours in the same spirit.
constexpr TickStep kClockSteps[] = {{10, 5},   {15, 3},    {30, 3},    {60, 4},   {120, 4},
                                    {300, 5},  {600, 5},   {900, 3},   {1800, 3}, {3600, 4},
                                    {7200, 4}, {18000, 5}, {36000, 5}, {86400, 4}};

// The smallest step that keeps the texts apart.
TickStep tickStep(double secondsPerPixel) {
    const double wanted = secondsPerPixel * kMinLabelSpacing;
    for (double power = 0.001; power < 10; power *= 10) {
        for (const TickStep step : {TickStep{1, 5}, TickStep{2, 4}, TickStep{5, 5}}) {
            if (power * step.seconds >= wanted) {
                return {power * step.seconds, step.minor};
            }
        }
    }
    for (const TickStep step : kClockSteps) {
        if (step.seconds >= wanted) {
            return step;
        }
    }
    const double days = std::ceil(wanted / 86400);
    return {days * 86400, 4};
}

std::string timeText(double seconds, double step) {
    const auto minutes = static_cast<long long>(seconds / 60);
    const double rest = seconds - static_cast<double>(minutes) * 60;
    const int decimals = step >= 1.0 ? 0 : step >= 0.1 ? 1 : step >= 0.01 ? 2 : 3;
    char buffer[48];
    std::snprintf(buffer, sizeof(buffer), "%lld:%0*.*f", minutes, decimals > 0 ? decimals + 3 : 2,
                  decimals, rest);
    return buffer;
}

// A point's label reaches to the next point right of it.
void clipPointLabels(std::vector<WaveformLayout::Region>& regions) {
    std::vector<int> starts;
    for (const WaveformLayout::Region& region : regions) {
        if (region.point) {
            starts.push_back(region.rect.x);
        }
    }
    std::sort(starts.begin(), starts.end());
    for (WaveformLayout::Region& region : regions) {
        if (!region.point) {
            continue;
        }
        const auto next = std::upper_bound(starts.begin(), starts.end(), region.rect.x);
        if (next != starts.end()) {
            region.labelClipRight = std::min(region.labelClipRight, *next);
        }
    }
}

// Found regions do not overlap: one row in their lane, the same shapes as the table's.
void layoutFound(WaveformLayout& layout, const std::vector<CuePoint>& found,
                 const WaveformView& view, int64_t frameCount) {
    const LayoutRect& lane = *layout.foundLane;
    for (size_t i = 0; i < found.size(); ++i) {
        const CuePoint& cue = found[i];
        const int64_t from = cue.position;
        const int64_t to = std::min<int64_t>(from + cue.length, frameCount);
        const int left = std::max(layout.xOf(from), 0);
        const int right = std::min(std::max(layout.xOf(to), layout.xOf(from) + 1), lane.width);
        if (right <= left) {
            continue;
        }
        WaveformLayout::Region region;
        region.cueIndex = i;
        region.rect = {left, lane.y + 1, right - left, lane.height - 2};
        region.fill = static_cast<int>(i % 2);
        region.point = cue.length == 0;
        region.thin = !region.point && region.rect.width < WaveformLayout::kThinRegion;
        region.bordered = region.point || region.rect.width >= WaveformLayout::kBorderedRegion;
        region.startVisible = layout.xOf(from) >= 0;
        region.endVisible = !region.point && layout.xOf(to) <= lane.width;
        region.labelX = left + (region.point ? 3 : 2);
        region.labelY = lane.y + WaveformLayout::kFoundLanePadding / 2;
        region.labelClipRight = region.point ? lane.width : right - 2;
        if (region.labelClipRight - region.labelX >= view.charWidth) {
            region.label = cue.label;
        }
        region.found = true;
        region.poor =
            view.poorFound != nullptr && i < view.poorFound->size() && (*view.poorFound)[i];
        layout.regions.push_back(std::move(region));
    }
}

}  // namespace

int WaveformLayout::xOf(int64_t frame) const {
    return static_cast<int>(std::floor(static_cast<double>(frame - firstFrame) / framesPerPixel));
}

int64_t WaveformLayout::frameAt(int x) const {
    return firstFrame + static_cast<int64_t>(std::floor(x * framesPerPixel));
}

WaveformLayout WaveformLayout::compute(const AudioDocument& doc, const PeakCache& peaks,
                                       const WaveformView& view) {
    WaveformLayout layout;
    const int width = std::max(view.width, 1);
    const int64_t end = view.endFrame > view.firstFrame ? view.endFrame : doc.frameCount;
    layout.firstFrame = view.firstFrame;
    layout.framesPerPixel =
        std::max<double>(static_cast<double>(end - view.firstFrame), 1.0) / width;

    const int rulerHeight = view.textHeight + 6;
    layout.ruler = {0, 0, width, rulerHeight};
    const double rate = doc.fileSampleRate > 0 ? doc.fileSampleRate : 1;
    const TickStep step = tickStep(layout.framesPerPixel / rate);
    const double minor = step.seconds / step.minor;
    const double firstSecond = view.firstFrame / rate;
    for (auto k = static_cast<long long>(std::ceil(firstSecond / minor));; ++k) {
        const double seconds = k * minor;
        const int x = layout.xOf(static_cast<int64_t>(std::llround(seconds * rate)));
        if (x >= width) {
            break;
        }
        const bool major = k % step.minor == 0;
        layout.ticks.push_back({x, major, major ? timeText(seconds, step.seconds) : std::string()});
    }

    const int channels = std::max(doc.channels(), 1);
    const int lanesTop = rulerHeight;
    const int foundHeight = view.found != nullptr ? view.textHeight + kFoundLanePadding : 0;
    if (view.found != nullptr) {
        layout.foundLane = LayoutRect{0, view.height - foundHeight, width, foundHeight};
    }
    const int laneHeight =
        std::max((view.height - foundHeight - lanesTop - kLaneGap * (channels - 1)) / channels, 1);
    const double fullScale = doc.bitsPerSample() == 8 ? 128.0 : 32768.0;
    for (int c = 0; c < channels; ++c) {
        Lane lane;
        lane.channel = c;
        lane.rect = {0, lanesTop + c * (laneHeight + kLaneGap), width, laneHeight};
        const double half = (laneHeight - 1) / 2.0;
        lane.centreY = lane.rect.y + static_cast<int>(std::lround(half));
        const auto yOf = [&](int value) {
            return lane.rect.y + static_cast<int>(std::lround(half - value / fullScale * half));
        };
        const auto columns = peaks.columns(doc, c, static_cast<double>(view.firstFrame),
                                           layout.framesPerPixel, width);
        for (int x = 0; x < width; ++x) {
            const PeakCache::Column& column = columns[static_cast<size_t>(x)];
            if (column.present) {
                lane.columns.push_back({x, yOf(column.peak.max), yOf(column.peak.min)});
            }
        }
        layout.lanes.push_back(std::move(lane));
    }

    const int lanesBottom = layout.lanes.back().rect.y + layout.lanes.back().rect.height;
    const auto span = [&](int64_t from, int64_t to) -> std::optional<LayoutRect> {
        const int left = std::max(layout.xOf(from), 0);
        const int right = std::min(std::max(layout.xOf(to), layout.xOf(from) + 1), width);
        if (right <= left) {
            return std::nullopt;
        }
        return LayoutRect{left, lanesTop, right - left, lanesBottom - lanesTop};
    };

    // Regions that overlap get their labels on separate rows.
    std::vector<int64_t> rowEnds;
    const std::vector<CuePoint>& cues = doc.cues;
    for (size_t i = 0; i < cues.size(); ++i) {
        const CuePoint& cue = cues[i];
        const bool point = cue.length == 0;
        const int64_t from = cue.position;
        const int64_t to = std::min<int64_t>(from + cue.length, doc.frameCount);
        std::optional<LayoutRect> rect;
        int row = 0;
        if (point) {
            const int x = layout.xOf(from);
            if (x >= 0 && x < width) {
                rect = LayoutRect{x, lanesTop, 1, lanesBottom - lanesTop};
            }
        } else {
            auto free =
                std::find_if(rowEnds.begin(), rowEnds.end(), [&](int64_t e) { return e <= from; });
            if (free == rowEnds.end()) {
                free = rowEnds.insert(rowEnds.end(), to);
            } else {
                *free = to;
            }
            row = static_cast<int>(free - rowEnds.begin());
            rect = span(from, to);
        }
        if (!rect) {
            continue;
        }
        Region region;
        region.cueIndex = i;
        region.rect = *rect;
        region.fill = static_cast<int>(i % 3);
        region.point = point;
        region.thin = !point && rect->width < kThinRegion;
        region.bordered = point || rect->width >= kBorderedRegion;
        region.startVisible = layout.xOf(from) >= 0;
        region.endVisible = !point && layout.xOf(to) <= width;
        region.labelX = rect->x + (point ? 3 : 2);
        // Points carry their labels at the foot of the lanes, clear of the regions' labels.
        region.labelY =
            point ? lanesBottom - view.textHeight - 2 : lanesTop + 2 + row * (view.textHeight + 2);
        // Two pixels short of the border, so that neighbouring labels never run together.
        region.labelClipRight = point ? width : rect->x + rect->width - 2;
        // A label cut to a letter or two says nothing; the status line names the region
        // instead. A short label that fits whole is drawn.
        const auto shown = std::min<int>(static_cast<int>(cue.label.size()), 3);
        if (point || region.labelClipRight - region.labelX >= shown * view.charWidth) {
            region.label = cue.label;
        }
        layout.regions.push_back(std::move(region));
    }
    if (view.found != nullptr) {
        layoutFound(layout, *view.found, view, doc.frameCount);
    }
    clipPointLabels(layout.regions);

    if (view.highlight) {
        layout.highlight = span(view.highlight->first, view.highlight->second);
    }
    if (view.cursorFrame) {
        const int x = layout.xOf(*view.cursorFrame);
        if (x >= 0 && x < width) {
            layout.cursorX = x;
        }
    }
    return layout;
}

}  // namespace murmelix
