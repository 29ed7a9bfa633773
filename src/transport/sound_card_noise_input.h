#pragma once

#include <chrono>
#include <span>
#include <string>
#include <vector>

#include "device/input_device.h"
#include "device/wave_buffer.h"
#include "random/noise_input.h"

namespace murmelix {

// The sound-card random source's input on a real (or simulated) input device: one buffer of
// 16-bit mono samples at a time, waited for on the caller's thread. The wait checks the
// device every kPollStep and gives up after the time limit; the device is then reset, so it
// no longer writes into the buffer once wait() has returned.
class SoundCardNoiseInput final : public NoiseInput {
  public:
    static constexpr std::chrono::milliseconds kPollStep{10};

    explicit SoundCardNoiseInput(InputDevice& device) : device_(device) {}
    ~SoundCardNoiseInput() override;
    SoundCardNoiseInput(const SoundCardNoiseInput&) = delete;
    SoundCardNoiseInput& operator=(const SoundCardNoiseInput&) = delete;

    std::string queryFormat(int device, const WaveFormat& format) override;
    std::string start(int device, const WaveFormat& format, std::span<int16_t> buffer) override;
    Recorded wait(std::chrono::milliseconds timeLimit) override;
    void finish() override;

  private:
    // Fetches what the device gave back; true once our buffer is among it.
    bool collect();
    // Abandons a start that failed after the open: nothing may stay open or queued.
    std::string abandon(int code);
    int32_t samplesArrived() const;

    InputDevice& device_;
    WaveBuffer header_;
    std::span<int16_t> buffer_;
    bool active_ = false;
    std::vector<WaveBuffer*> returned_;
};

}  // namespace murmelix
