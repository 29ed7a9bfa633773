#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"
#include "labels/rgba.h"

namespace murmelix {

// An RGBA raster, rows top to bottom, with the few drawing operations a waveform needs.
// Everything is clipped to the image.
class RgbaImage {
  public:
    RgbaImage(int width, int height, Rgba fill);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgba at(int x, int y) const { return pixels_[index(x, y)]; }
    const std::vector<Rgba>& pixels() const { return pixels_; }

    // Blends `colour` over what is there (opaque colours replace it).
    void blend(int x, int y, Rgba colour);
    void fillRect(int x, int y, int width, int height, Rgba colour);
    void verticalLine(int x, int top, int bottom, Rgba colour);  // top..bottom inclusive
    // The text with its top-left corner at (x, y), cut at clipRight (exclusive).
    void drawText(int x, int y, const std::string& utf8, Rgba colour, int clipRight);

    // Writes the picture as an 8-bit RGBA PNG, atomically.
    Result writePng(const std::string& path) const;

  private:
    size_t index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }

    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};

}  // namespace murmelix
