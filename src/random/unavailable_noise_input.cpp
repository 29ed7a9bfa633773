#include "random/unavailable_noise_input.h"

namespace murmelix {

std::string UnavailableNoiseInput::queryFormat(int, const WaveFormat&) {
    return kMessage;
}

std::string UnavailableNoiseInput::start(int, const WaveFormat&, std::span<int16_t>) {
    return kMessage;
}

NoiseInput::Recorded UnavailableNoiseInput::wait(std::chrono::milliseconds) {
    return {};
}

}  // namespace murmelix
