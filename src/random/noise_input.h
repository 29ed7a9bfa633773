#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "audio/wave_format.h"

namespace murmelix {

// The sound-card input as the sound-card random source sees it: one buffer of 16-bit mono
// samples recorded at a time, with no notification but the wait. The desktop program puts
// the real input devices behind it; tests put a script. Called on the UI thread only.
//
// Device ids count the input devices from 0; -1 is the system's default device.
// Error results are the device's own text, shown under "Record In Error".
class NoiseInput {
  public:
    struct Recorded {
        int32_t samples = 0;    // whole samples that arrived in the buffer
        bool timedOut = false;  // the time limit passed before the buffer was full
    };

    virtual ~NoiseInput() = default;

    // Empty when the device can record this format.
    virtual std::string queryFormat(int device, const WaveFormat& format) = 0;
    // Opens the device and starts recording into buffer, which stays valid until finish().
    // Empty on success; on failure nothing is left open and finish() need not be called.
    virtual std::string start(int device, const WaveFormat& format, std::span<int16_t> buffer) = 0;
    // Blocks until the buffer is full or timeLimit has passed.
    virtual Recorded wait(std::chrono::milliseconds timeLimit) = 0;
    // Stops and closes what start() opened; failures here change nothing for the caller.
    virtual void finish() = 0;
};

}  // namespace murmelix
