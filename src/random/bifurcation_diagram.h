#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace murmelix {

// What one drawing of the diagram is made from: the graphics values of the fractal dialog,
// its three counts and its colour boxes.
struct BifurcationParameters {
    long double rMin = 3.5L;
    long double rMax = 4.0L;
    long double xMin = 0.0L;
    long double xMax = 1.0L;
    long double xStart = 0.5L;
    int32_t iterations = 300;
    int32_t invisible = 50;
    int32_t colors = 4;
    bool red = false;
    bool green = true;
    bool blue = false;
};

// The r and x ranges of the last drawing that ran to its end.
struct BifurcationBounds {
    long double rMin = 0;
    long double rMax = 0;
    long double xMin = 0;
    long double xMax = 0;

    bool allZero() const { return rMin == 0 && rMax == 0 && xMin == 0 && xMax == 0; }
};

// A point of the diagram in the units of the logistic map.
struct BifurcationPoint {
    long double r = 0;
    long double x = 0;
};

// The bifurcation diagram of the logistic map x := r * x * (1 - x): one column per r, each
// column the orbit of the start value with its first iterations left out, every visit of a
// pixel brightening it by one colour step. Drawn a column at a time so a window can show it
// growing; all arithmetic in long double, because the picture's fine structure is what the
// user picks the random source's parameters from.
//
// Pixels are colour values with red in the low byte (0x00BBGGRR), the form the brightening
// arithmetic is defined on; toRgb() turns one into 0x00RRGGBB for a window.
class BifurcationDiagram {
  public:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 200;
    static constexpr uint32_t kBlack = 0;

    BifurcationDiagram();

    // Starts a drawing: the picture turns black and column 0 is next. Colours below 1 count
    // as 1, negative counts as 0. A drawing already under way is abandoned.
    void begin(const BifurcationParameters& parameters);
    // Draws the next column; the last one completes the drawing, whose ranges then become
    // bounds(). False when no drawing is under way.
    bool drawNextColumn();
    // Draws whatever columns remain.
    void finish();
    bool drawing() const { return drawing_; }
    // The column drawNextColumn() draws next (kWidth once complete).
    int nextColumn() const { return nextColumn_; }

    // All zero until the first drawing has run to its end.
    const BifurcationBounds& bounds() const { return bounds_; }
    // r and x under pixel (X, Y) of the last complete drawing; nothing before there is one.
    std::optional<BifurcationPoint> pointAt(int x, int y) const;

    uint32_t pixel(int x, int y) const { return pixels_[index(x, y)]; }
    static uint32_t toRgb(uint32_t colour);

    // The colour a pixel reaches, and what each visit adds, for the given colour boxes.
    static uint32_t fullColour(bool red, bool green, bool blue);
    static uint32_t colourStep(bool red, bool green, bool blue, int32_t colors);

  private:
    static size_t index(int x, int y) { return static_cast<size_t>(y) * kWidth + x; }
    void drawColumn(int column);
    void brighten(int column, int row);

    std::vector<uint32_t> pixels_;
    BifurcationParameters parameters_;
    uint32_t full_ = 0;
    uint32_t step_ = 0;
    bool drawing_ = false;
    int nextColumn_ = kWidth;
    BifurcationBounds bounds_;
};

}  // namespace murmelix
