#include "random/bifurcation_diagram.h"

#include <algorithm>

namespace murmelix {

BifurcationDiagram::BifurcationDiagram() : pixels_(static_cast<size_t>(kWidth) * kHeight, kBlack) {}

uint32_t BifurcationDiagram::fullColour(bool red, bool green, bool blue) {
    return colourStep(red, green, blue, 1);
}

uint32_t BifurcationDiagram::colourStep(bool red, bool green, bool blue, int32_t colors) {
    const uint32_t v = 255u / static_cast<uint32_t>(std::max(colors, 1));
    return (red ? v : 0u) + (green ? v << 8 : 0u) + (blue ? v << 16 : 0u);
}

uint32_t BifurcationDiagram::toRgb(uint32_t colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

void BifurcationDiagram::begin(const BifurcationParameters& parameters) {
    parameters_ = parameters;
    parameters_.iterations = std::max(parameters.iterations, 0);
    parameters_.invisible = std::max(parameters.invisible, 0);
    parameters_.colors = std::max(parameters.colors, 1);
    full_ = fullColour(parameters.red, parameters.green, parameters.blue);
    step_ = colourStep(parameters.red, parameters.green, parameters.blue, parameters_.colors);
    std::fill(pixels_.begin(), pixels_.end(), kBlack);
    nextColumn_ = 0;
    drawing_ = true;
}

bool BifurcationDiagram::drawNextColumn() {
    if (!drawing_) {
        return false;
    }
    drawColumn(nextColumn_++);
    if (nextColumn_ == kWidth) {
        drawing_ = false;
        bounds_ = {parameters_.rMin, parameters_.rMax, parameters_.xMin, parameters_.xMax};
    }
    return true;
}

void BifurcationDiagram::finish() {
    while (drawNextColumn()) {
    }
}

void BifurcationDiagram::drawColumn(int column) {
    const BifurcationParameters& p = parameters_;
    const long double width = kWidth;
    const long double height = kHeight;
    const long double r = (p.rMax - p.rMin) / width * column + p.rMin;
    long double x = p.xStart;
    for (int32_t j = 0; j < p.iterations; ++j) {
        x = (r * x) * (1 - x);
        if (j < p.invisible) {
            continue;
        }
        const long double row = height - (x - p.xMin) / (p.xMax - p.xMin) * height;
        // Truncation toward zero puts values just above xMax into row 0. The comparisons
        // also turn away a diverging orbit or an empty x range (infinite or NaN rows), which
        // no integer conversion could take.
        if (row > -1.0L && row < height) {
            brighten(column, static_cast<int>(row));
        }
    }
}

void BifurcationDiagram::brighten(int column, int row) {
    uint32_t& p = pixels_[index(column, row)];
    if ((p & 0xFFFFFFu) + (step_ & 0xFFFFFFu) < full_) {
        p += step_;
    } else {
        p = full_;
    }
}

std::optional<BifurcationPoint> BifurcationDiagram::pointAt(int x, int y) const {
    if (bounds_.allZero()) {
        return std::nullopt;
    }
    const BifurcationBounds& b = bounds_;
    const long double width = kWidth;
    const long double height = kHeight;
    return BifurcationPoint{(b.rMax - b.rMin) * x / width + b.rMin,
                            (b.xMax - b.xMin) * (kHeight - y) / height + b.xMin};
}

}  // namespace murmelix
