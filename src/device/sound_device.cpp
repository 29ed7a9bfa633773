#include "device/sound_device.h"

#include <utility>

#include "device/device_error.h"

namespace murmelix {

size_t SoundDevice::pollDone(std::vector<WaveBuffer*>& out) {
    checkStream();
    const size_t count = done_.drain(out);
    outstanding_ -= count;
    return count;
}

bool SoundDevice::waitDone(std::chrono::milliseconds timeout) {
    return done_.wait(timeout);
}

std::string SoundDevice::errorText(int code) const {
    if (code != 0 && code == failedCode_ && !failedDetails_.empty()) {
        return failedDetails_;
    }
    return DeviceError::text(code);
}

bool SoundDevice::isUsableFormat(const WaveFormat& format) {
    return format.isSupportedPcm() && format.samplesPerSec > 0 &&
           format.blockAlign == format.channels * format.bitsPerSample / 8;
}

int SoundDevice::fail(int code, std::string details) {
    failedCode_ = code;
    failedDetails_ = std::move(details);
    return code;
}

void SoundDevice::failStream(int code, std::string details) {
    fail(code, std::move(details));
    lastError_ = errorText(code);
}

void SoundDevice::clearErrors() {
    failedCode_ = 0;
    failedDetails_.clear();
    lastError_.clear();
}

bool SoundDevice::takeOut() {
    if (outstanding_ >= kMaxOutstanding) {
        return false;
    }
    ++outstanding_;
    return true;
}

}  // namespace murmelix
