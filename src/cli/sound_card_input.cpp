#include "cli/sound_card_input.h"

namespace murmelix::cli {

std::string SoundCardInput::queryFormat(int device, const WaveFormat& format) {
    return input().queryFormat(device, format);
}

std::string SoundCardInput::start(int device, const WaveFormat& format, std::span<int16_t> buffer) {
    return input().start(device, format, buffer);
}

NoiseInput::Recorded SoundCardInput::wait(std::chrono::milliseconds timeLimit) {
    return input().wait(timeLimit);
}

void SoundCardInput::finish() {
    if (input_ != nullptr) {
        input_->finish();
    }
}

NoiseInput& SoundCardInput::input() {
    if (input_ == nullptr) {
        device_ = std::make_unique<PortAudioInputDevice>();
        input_ = std::make_unique<SoundCardNoiseInput>(*device_);
    }
    return *input_;
}

}  // namespace murmelix::cli
