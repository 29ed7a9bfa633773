#pragma once

#include "random/noise_input.h"

namespace murmelix {

// Stands in where the program has no sound input at all (a build or a tool without a
// device layer): every attempt to record fails with a text that says so.
class UnavailableNoiseInput : public NoiseInput {
  public:
    static constexpr const char* kMessage = "No sound input device is available.";

    std::string queryFormat(int device, const WaveFormat& format) override;
    std::string start(int device, const WaveFormat& format, std::span<int16_t> buffer) override;
    Recorded wait(std::chrono::milliseconds timeLimit) override;
    void finish() override {}
};

}  // namespace murmelix
