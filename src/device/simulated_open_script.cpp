#include "device/simulated_open_script.h"

#include <algorithm>
#include <utility>

#include "device/device_error.h"
#include "device/sound_device.h"

namespace murmelix {

void SimulatedOpenScript::failNext(bool queryOnly, int code, std::string details) {
    Scripted& next = queryOnly ? query_ : open_;
    next.code = code;
    next.details = std::move(details);
}

std::optional<SimulatedOpenScript::Refusal> SimulatedOpenScript::refusal(int deviceId,
                                                                         const WaveFormat& format,
                                                                         bool queryOnly,
                                                                         bool alreadyOpen) {
    Scripted& scripted = queryOnly ? query_ : open_;
    if (scripted.code != DeviceError::kNone) {
        return Refusal{std::exchange(scripted.code, DeviceError::kNone),
                       std::exchange(scripted.details, {})};
    }
    if (alreadyOpen) {
        return Refusal{DeviceError::kAlreadyOpen, {}};
    }
    if (deviceCount_ <= 0) {
        return Refusal{DeviceError::kNoDevice, {}};
    }
    if (deviceId < -1 || deviceId >= deviceCount_) {
        return Refusal{DeviceError::kBadDeviceId, {}};
    }
    if (!SoundDevice::isUsableFormat(format) ||
        std::count(refusedRates_.begin(), refusedRates_.end(), format.samplesPerSec) > 0) {
        return Refusal{DeviceError::kBadFormat, {}};
    }
    return std::nullopt;
}

}  // namespace murmelix
