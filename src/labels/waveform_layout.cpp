#include "labels/waveform_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace murmelix {

namespace {

constexpr int kLaneGap = 1;
constexpr int kMinLabelSpacing = 70;  // pixels between ruler texts at least

// 1, 2 and 5 times a power of ten, in seconds, the smallest that keeps texts apart.
double tickStep(double secondsPerPixel) {
    const double wanted = secondsPerPixel * kMinLabelSpacing;
    for (double power = 0.001;; power *= 10) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (power * factor >= wanted || power > 1.0e6) {
                return power * factor;
            }
        }
    }
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
    const double step = tickStep(layout.framesPerPixel / rate);
    const double firstSecond = view.firstFrame / rate;
    for (auto k = static_cast<long long>(std::ceil(firstSecond / step * 5));; ++k) {
        const double seconds = k * step / 5;
        const int x = layout.xOf(static_cast<int64_t>(std::llround(seconds * rate)));
        if (x >= width) {
            break;
        }
        const bool major = k % 5 == 0;
        layout.ticks.push_back({x, major, major ? timeText(seconds, step) : std::string()});
    }

    const int channels = std::max(doc.channels(), 1);
    const int lanesTop = rulerHeight;
    const int laneHeight =
        std::max((view.height - lanesTop - kLaneGap * (channels - 1)) / channels, 1);
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
    const std::vector<CuePoint>& cues = view.regions != nullptr ? *view.regions : doc.cues;
    for (size_t i = 0; i < cues.size(); ++i) {
        const CuePoint& cue = cues[i];
        const int64_t from = cue.position;
        const int64_t to =
            cue.length == 0 ? doc.frameCount : std::min<int64_t>(from + cue.length, doc.frameCount);
        auto row =
            std::find_if(rowEnds.begin(), rowEnds.end(), [&](int64_t e) { return e <= from; });
        if (row == rowEnds.end()) {
            rowEnds.push_back(to);
            row = rowEnds.end() - 1;
        } else {
            *row = to;
        }
        const auto rect = span(from, to);
        if (!rect) {
            continue;
        }
        Region region;
        region.cueIndex = i;
        region.rect = *rect;
        region.fill = static_cast<int>(i % 3);
        region.startVisible = layout.xOf(from) >= 0;
        region.endVisible = layout.xOf(to) <= width;
        region.labelX = rect->x + 2;
        region.labelY =
            lanesTop + 2 + static_cast<int>(row - rowEnds.begin()) * (view.textHeight + 2);
        region.labelClipRight = rect->x + rect->width;
        region.label = cue.label;
        layout.regions.push_back(std::move(region));
    }

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
