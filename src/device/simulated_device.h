#pragma once

#include <string>
#include <utility>
#include <vector>

#include "audio/wave_format.h"
#include "base/text_format.h"
#include "device/device_error.h"
#include "device/frame_clock.h"
#include "device/simulated_open_script.h"

namespace murmelix {

// What the simulated input and output devices share: the scripted open with its checks,
// the bookkeeping of the opened device and the record of calls. Device is InputDevice or
// OutputDevice.
template <typename Device>
class SimulatedDevice : public Device {
  public:
    bool isOpen() const override { return open_; }

    // Valid ids are 0 to count - 1 (and -1); 1 device by default, 0 makes every open fail.
    void setDeviceCount(int count) { script_.setDeviceCount(count); }
    // The next open with this queryOnly value fails with code (and details for errorText).
    void failNextOpen(bool queryOnly, int code, std::string details = {}) {
        script_.failNext(queryOnly, code, std::move(details));
    }
    // Refuses formats at this rate, as a device without that rate would.
    void refuseRate(uint32_t rate) { script_.refuseRate(rate); }

    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    const WaveFormat& format() const { return format_; }
    int deviceId() const { return deviceId_; }

  protected:
    // The open both devices share: the call recorded, the script's refusal checked, and the
    // device opened afresh (unless only asked whether it would open). True when the device
    // is now open; otherwise `code` is the result to return.
    bool openDevice(int deviceId, const WaveFormat& format, bool queryOnly, int& code) {
        calls_.push_back(
            formatText("%s %d %u", queryOnly ? "query" : "open", deviceId, format.samplesPerSec));
        const auto refusal = script_.refusal(deviceId, format, queryOnly, open_);
        code = refusal ? this->fail(refusal->code, refusal->details) : DeviceError::kNone;
        if (refusal || queryOnly) {
            return false;
        }
        this->clearErrors();
        open_ = true;
        dead_ = false;
        format_ = format;
        deviceId_ = deviceId;
        clock_.restart();
        return true;
    }

    bool open_ = false;
    bool dead_ = false;
    WaveFormat format_;
    int deviceId_ = -1;
    FrameClock clock_;
    std::vector<std::string> calls_;

  private:
    SimulatedOpenScript script_;
};

}  // namespace murmelix
