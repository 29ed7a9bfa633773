#pragma once

#include <cstdint>

namespace murmelix {

// A colour with straight (not premultiplied) alpha, as QColor holds it.
struct Rgba {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;

    bool operator==(const Rgba&) const = default;

    // `top` drawn over an opaque `bottom` (source-over, as QPainter's default).
    static Rgba over(Rgba top, Rgba bottom) {
        const auto mix = [&](uint8_t t, uint8_t u) {
            return static_cast<uint8_t>((t * top.a + u * (255 - top.a) + 127) / 255);
        };
        return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), 255};
    }
};

}  // namespace murmelix
