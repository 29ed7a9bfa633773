#pragma once

#include <memory>

#include "device/port_audio_input_device.h"
#include "random/noise_input.h"
#include "transport/sound_card_noise_input.h"

namespace murmelix::cli {

// The sound-card random source's input on the real input devices, for the commands that
// draw numbers. The sound system is started only when the source first asks for noise, so
// the other sources never touch it.
class SoundCardInput final : public NoiseInput {
  public:
    std::string queryFormat(int device, const WaveFormat& format) override;
    std::string start(int device, const WaveFormat& format, std::span<int16_t> buffer) override;
    Recorded wait(std::chrono::milliseconds timeLimit) override;
    void finish() override;

  private:
    NoiseInput& input();

    std::unique_ptr<PortAudioInputDevice> device_;
    std::unique_ptr<SoundCardNoiseInput> input_;
};

}  // namespace murmelix::cli
