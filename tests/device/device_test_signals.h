#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/wave_format.h"

namespace murmelix::testing {

// A sine in the given PCM format, the same on every channel.
inline std::vector<uint8_t> sineBytes(const WaveFormat& format, double frequency, size_t frames,
                                      double amplitude = 0.5) {
    std::vector<uint8_t> bytes;
    bytes.reserve(frames * format.blockAlign);
    const double pi = std::acos(-1.0);
    for (size_t f = 0; f < frames; ++f) {
        const double value = amplitude * std::sin(2 * pi * frequency * static_cast<double>(f) /
                                                  format.samplesPerSec);
        for (int c = 0; c < format.channels; ++c) {
            if (format.bitsPerSample == 8) {
                bytes.push_back(static_cast<uint8_t>(std::lround(value * 127.0) + 128));
            } else {
                const auto sample =
                    static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767.0)));
                bytes.push_back(static_cast<uint8_t>(sample & 0xFF));
                bytes.push_back(static_cast<uint8_t>(sample >> 8));
            }
        }
    }
    return bytes;
}

// The frequency of a tone from the median time between its rising zero crossings (placed
// between samples by linear interpolation), which a short gap in the sound does not move.
inline double toneFrequency(const std::vector<float>& samples, int channels, double rate) {
    const auto step = static_cast<size_t>(channels);
    std::vector<double> crossings;
    for (size_t f = 1; f < samples.size() / step; ++f) {
        const double before = samples[(f - 1) * step];
        const double now = samples[f * step];
        if (before < 0.0 && now >= 0.0) {
            crossings.push_back(static_cast<double>(f - 1) + before / (before - now));
        }
    }
    if (crossings.size() < 3) {
        return 0.0;
    }
    std::vector<double> periods;
    for (size_t i = 1; i < crossings.size(); ++i) {
        periods.push_back(crossings[i] - crossings[i - 1]);
    }
    std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
    return rate / periods[periods.size() / 2];
}

inline double energy(const std::vector<float>& samples) {
    double sum = 0;
    for (const float s : samples) {
        sum += static_cast<double>(s) * s;
    }
    return sum;
}

}  // namespace murmelix::testing
