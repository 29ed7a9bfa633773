#include "labels/waveform_palette.h"

#include <cstddef>

namespace murmelix {

namespace {

// Each element's colour in the light and in the dark variant, side by side, so that the two
// stay in step when one changes.
struct Pair {
    Rgba light;
    Rgba dark;
};

constexpr Pair kBackground{{255, 255, 255, 255}, {28, 30, 34, 255}};
constexpr Pair kRulerBackground{{236, 236, 236, 255}, {44, 46, 52, 255}};
constexpr Pair kRulerText{{40, 40, 40, 255}, {220, 220, 220, 255}};
constexpr Pair kTick{{120, 120, 120, 255}, {150, 150, 150, 255}};
constexpr Pair kCentreLine{{200, 200, 200, 255}, {70, 72, 80, 255}};
constexpr Pair kWave{{30, 90, 170, 255}, {110, 180, 255, 255}};
constexpr Pair kRegionFills[3] = {{{255, 190, 60, 90}, {255, 190, 60, 80}},
                                  {{90, 200, 120, 90}, {90, 220, 130, 80}},
                                  {{200, 120, 220, 90}, {210, 130, 240, 80}}};
constexpr Pair kRegionBorder{{150, 110, 40, 255}, {230, 190, 110, 255}};
constexpr Pair kRegionText{{20, 20, 20, 255}, {240, 240, 240, 255}};
constexpr Pair kHighlight{{255, 80, 60, 80}, {255, 90, 70, 90}};
constexpr Pair kMarker{{170, 40, 150, 255}, {240, 120, 225, 255}};
constexpr Pair kCursor{{220, 30, 30, 255}, {255, 70, 70, 255}};
constexpr Pair kCursorOutline{{255, 255, 255, 230}, {0, 0, 0, 230}};
constexpr Pair kFoundLane{{232, 240, 250, 255}, {36, 42, 54, 255}};
constexpr Pair kFoundFills[2] = {{{40, 150, 220, 110}, {60, 170, 240, 110}},
                                 {{40, 120, 200, 150}, {90, 190, 255, 150}}};
constexpr Pair kFoundBorder{{20, 80, 150, 255}, {140, 200, 255, 255}};
constexpr Pair kFoundText{{10, 30, 60, 255}, {235, 240, 250, 255}};
constexpr Pair kPoorFill{{235, 90, 30, 150}, {255, 120, 50, 150}};
constexpr Pair kPoorMark{{170, 30, 0, 255}, {255, 200, 120, 255}};

WaveformPalette variant(Rgba Pair::*colour) {
    WaveformPalette palette{kBackground.*colour,
                            kRulerBackground.*colour,
                            kRulerText.*colour,
                            kTick.*colour,
                            kCentreLine.*colour,
                            kWave.*colour,
                            {},
                            kRegionBorder.*colour,
                            kRegionText.*colour,
                            kMarker.*colour,
                            kHighlight.*colour,
                            kCursor.*colour,
                            kCursorOutline.*colour,
                            kFoundLane.*colour,
                            {},
                            kFoundBorder.*colour,
                            kFoundText.*colour,
                            kPoorFill.*colour,
                            kPoorMark.*colour};
    for (size_t i = 0; i < palette.regionFills.size(); ++i) {
        palette.regionFills[i] = kRegionFills[i].*colour;
    }
    for (size_t i = 0; i < palette.foundFills.size(); ++i) {
        palette.foundFills[i] = kFoundFills[i].*colour;
    }
    return palette;
}

}  // namespace

Rgba WaveformPalette::fillOf(const WaveformLayout::Region& region) const {
    const auto fill = static_cast<size_t>(region.fill);
    if (region.found) {
        return region.poor ? poorFill : foundFills[fill % foundFills.size()];
    }
    return regionFills[fill % regionFills.size()];
}

Rgba WaveformPalette::borderOf(const WaveformLayout::Region& region) const {
    if (region.found) {
        return region.poor ? poorMark : foundBorder;
    }
    return region.point ? marker : regionBorder;
}

Rgba WaveformPalette::textOf(const WaveformLayout::Region& region) const {
    if (region.found) {
        return foundText;
    }
    return region.point ? marker : regionText;
}

WaveformPalette WaveformPalette::light() {
    return variant(&Pair::light);
}

WaveformPalette WaveformPalette::dark() {
    return variant(&Pair::dark);
}

}  // namespace murmelix
