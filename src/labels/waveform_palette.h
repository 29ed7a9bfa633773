#pragma once

#include <array>

#include "labels/rgba.h"

namespace murmelix {

// The colours of the waveform picture, in a light and a dark variant. Region fills and the
// highlight are translucent: overlapping regions show through each other and the wave
// stays visible under them.
struct WaveformPalette {
    Rgba background;
    Rgba rulerBackground;
    Rgba rulerText;
    Rgba tick;
    Rgba centreLine;
    Rgba wave;
    std::array<Rgba, 3> regionFills;  // taken in turn, so that neighbours differ
    Rgba regionBorder;
    Rgba regionText;
    Rgba highlight;
    Rgba cursor;

    static WaveformPalette light();
    static WaveformPalette dark();
};

}  // namespace murmelix
