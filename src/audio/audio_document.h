#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/cue_point.h"
#include "audio/sample_layout.h"
#include "audio/wave_format.h"

namespace murmelix {

// The one signal the program works on. Either empty or loaded; owned by Program and
// touched on the UI thread only. The format's sample rate is also the rate the output
// device is opened at (speed changes overwrite it); fileSampleRate stays the true rate.
class AudioDocument {
  public:
    std::string fileName;
    bool loaded = false;
    bool changed = false;
    WaveFormat format;
    int32_t fileSampleRate = 0;
    int32_t frameSize = 0;
    int32_t frameCount = 0;
    std::vector<uint8_t> data;
    std::vector<CuePoint> cues;

    int32_t dataSize() const { return static_cast<int32_t>(data.size()); }
    int32_t cueCount() const { return static_cast<int32_t>(cues.size()); }
    int channels() const { return format.channels; }
    int bitsPerSample() const { return format.bitsPerSample; }
    SampleLayout layout() const { return {frameSize, format.bitsPerSample}; }

    // Takes over the format, data and cues already placed in the document.
    void commit(const std::string& name);
    void clear();

    const uint8_t* origin(int channel) const { return layout().origin(data.data(), channel); }
    uint8_t* origin(int channel) { return layout().origin(data.data(), channel); }
    int read(int channel, int64_t frame) const { return layout().read(origin(channel), frame); }
    void write(int channel, int64_t frame, int value) {
        layout().write(origin(channel), frame, value);
    }

    double durationSeconds() const {
        return fileSampleRate > 0 ? static_cast<double>(frameCount) / fileSampleRate : 0.0;
    }
};

}  // namespace murmelix
