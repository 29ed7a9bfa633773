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
    Rgba regionBorder;                // also the bars of regions too narrow to shade
    Rgba regionText;
    Rgba marker;  // points: a line with the label beside it
    Rgba highlight;
    Rgba cursor;
    Rgba cursorOutline;  // either side of the cursor, so that it shows over the wave

    static WaveformPalette light();
    static WaveformPalette dark();
};

}  // namespace murmelix
