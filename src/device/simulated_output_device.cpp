#include "device/simulated_output_device.h"

#include <algorithm>
#include <utility>

#include "base/text_format.h"
#include "device/device_error.h"

namespace murmelix {

int SimulatedOutputDevice::open(int deviceId, const WaveFormat& format, bool queryOnly) {
    int code = DeviceError::kNone;
    if (openDevice(deviceId, format, queryOnly, code)) {
        paused_ = false;
        rate_ = kNormalRate;
        offset_ = 0;
        playing_ = starved_ = false;
        underflows_ = 0;
    }
    return code;
}

int SimulatedOutputDevice::write(WaveBuffer* buffer) {
    calls_.push_back(formatText("write %u", buffer != nullptr ? buffer->length : 0u));
    if (buffer == nullptr || (buffer->data == nullptr && buffer->length > 0)) {
        return fail(DeviceError::kInvalidParameter);
    }
    if (!open_) {
        return fail(DeviceError::kNotOpen);
    }
    if (dead_) {
        return fail(DeviceError::kStreamFailed);
    }
    if (!takeOut()) {
        return fail(DeviceError::kTooManyBuffers);
    }
    buffer->done = false;
    queue_.push_back(buffer);
    return DeviceError::kNone;
}

int SimulatedOutputDevice::pause() {
    calls_.push_back("pause");
    if (!open_) {
        return fail(DeviceError::kNotOpen);
    }
    paused_ = true;
    return DeviceError::kNone;
}

int SimulatedOutputDevice::restart() {
    calls_.push_back("restart");
    if (!open_) {
        return fail(DeviceError::kNotOpen);
    }
    paused_ = false;
    return DeviceError::kNone;
}

int SimulatedOutputDevice::reset() {
    calls_.push_back("reset");
    if (!open_) {
        return fail(DeviceError::kNotOpen);
    }
    returnAll();
    return DeviceError::kNone;
}

int SimulatedOutputDevice::setPlaybackRate(uint32_t rate) {
    calls_.push_back(formatText("rate %u", rate));
    if (!open_) {
        return fail(DeviceError::kNotOpen);
    }
    if (rate == 0) {
        return fail(DeviceError::kInvalidParameter);
    }
    rate_ = rate;
    return DeviceError::kNone;
}

int SimulatedOutputDevice::close() {
    calls_.push_back("close");
    if (!open_) {
        return DeviceError::kNone;
    }
    returnAll();
    open_ = false;
    return DeviceError::kNone;
}

bool SimulatedOutputDevice::waitDone(std::chrono::milliseconds timeout) {
    for (auto waited = timeout.count(); waited > 0 && !done_.pending(); --waited) {
        advance(1);
    }
    return done_.pending();
}

void SimulatedOutputDevice::die(std::string details) {
    if (!open_ || dead_) {
        return;
    }
    dead_ = true;
    returnAll();
    failStream(DeviceError::kStreamFailed, std::move(details));
    done_.notify();
}

void SimulatedOutputDevice::advance(uint64_t ms) {
    nowMs_ += ms;
    if (!open_ || dead_ || paused_) {
        return;
    }
    play(clock_.advance(ms, format_.samplesPerSec, rate_));
}

void SimulatedOutputDevice::play(uint64_t frames) {
    const uint32_t blockAlign = format_.blockAlign;
    for (;;) {
        while (!queue_.empty() && queue_.front()->length - offset_ < blockAlign) {
            finishFront(true);  // nothing (more) to play in it
        }
        if (frames == 0) {
            return;
        }
        if (queue_.empty()) {
            starved_ = playing_;
            return;
        }
        if (offset_ == 0) {
            if (starved_) {
                ++underflows_;
                starved_ = false;
            }
            playing_ = true;
        }
        WaveBuffer* front = queue_.front();
        const uint64_t left = (front->length - offset_) / blockAlign;
        const uint64_t now = std::min(left, frames);
        const uint8_t* from = front->data + offset_;
        played_.insert(played_.end(), from, from + now * blockAlign);
        offset_ += static_cast<uint32_t>(now * blockAlign);
        frames -= now;
    }
}

void SimulatedOutputDevice::returnAll() {
    while (!queue_.empty()) {
        finishFront(offset_ > 0);  // only the one playing has sounded, if it began
    }
    playing_ = starved_ = false;
}

void SimulatedOutputDevice::finishFront(bool sounded) {
    queue_.front()->sounded = sounded;
    done_.push(queue_.front());
    queue_.pop_front();
    offset_ = 0;
}

}  // namespace murmelix
