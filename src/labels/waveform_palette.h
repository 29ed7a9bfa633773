#pragma once

#include <array>

#include "labels/rgba.h"
#include "labels/waveform_layout.h"

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
    // Found regions under review, in their own lane: a hue none of the table's regions
    // has; those that fit poorly in a warning colour, hatched where the toolkit can.
    Rgba foundLane;
    std::array<Rgba, 2> foundFills;
    Rgba foundBorder;
    Rgba foundText;
    Rgba poorFill;
    Rgba poorMark;

    // A region's colours by its kind (table or found, region or point, fitting or not), so
    // that both painters colour it alike.
    Rgba fillOf(const WaveformLayout::Region& region) const;
    Rgba borderOf(const WaveformLayout::Region& region) const;
    Rgba textOf(const WaveformLayout::Region& region) const;

    static WaveformPalette light();
    static WaveformPalette dark();
};

}  // namespace murmelix
