#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/wave_format.h"

namespace murmelix {

// What a simulated device accepts when it is opened or asked whether it would be: how many
// devices there are, rates it lacks, and failures a test scripts for the next query or open.
class SimulatedOpenScript {
  public:
    struct Refusal {
        int code;
        std::string details;
    };

    void setDeviceCount(int count) { deviceCount_ = count; }
    void refuseRate(uint32_t rate) { refusedRates_.push_back(rate); }
    void failNext(bool queryOnly, int code, std::string details);

    // Why an open (or query) of deviceId with format is refused, checked in the order the
    // real devices check: a scripted failure (used up by this call), the device already
    // open, no devices, an unknown id, a format the device does not take.
    std::optional<Refusal> refusal(int deviceId, const WaveFormat& format, bool queryOnly,
                                   bool alreadyOpen);

  private:
    struct Scripted {
        int code = 0;
        std::string details;
    };

    int deviceCount_ = 1;
    Scripted query_;
    Scripted open_;
    std::vector<uint32_t> refusedRates_;
};

}  // namespace murmelix
