#pragma once

#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

namespace murmelix::testing {

// A different tone on each channel, at half scale, with one peak to full scale or beyond
// (floats keep values past 1.0, which an import must clip and count).
inline std::vector<double> toneSignal(int channels, int frames, double peak) {
    std::vector<double> out(static_cast<size_t>(channels * frames));
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            out[static_cast<size_t>(f * channels + c)] = 0.5 * std::sin(f * 0.01 * (c + 1) + c);
        }
    }
    out[0] = peak;
    return out;
}

// Writes that tone through libsndfile in `format` (SF_FORMAT_*); false when this libsndfile
// cannot write it.
inline bool writeSndfile(const std::string& path, int format, int channels, int rate, int frames,
                         double peak = 0.9) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = rate;
    if (!sf_format_check(&info)) {
        return false;
    }
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const auto samples = toneSignal(channels, frames, peak);
    sf_writef_double(file, samples.data(), frames);
    sf_close(file);
    return true;
}

}  // namespace murmelix::testing
