#pragma once

#include "labels/rgba_image.h"
#include "labels/waveform_layout.h"
#include "labels/waveform_palette.h"

namespace murmelix {

// Draws a waveform layout into a raster, in the order the window paints it too: background,
// ruler, lanes with their centre lines, region fills, the wave, the highlight, region
// borders and labels, the cursor.
class WaveformPainter {
  public:
    static RgbaImage paint(const WaveformLayout& layout, const WaveformPalette& palette, int width,
                           int height);
};

}  // namespace murmelix
