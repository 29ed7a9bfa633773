#include "device/simulated_input_device.h"

#include <algorithm>
#include <utility>

#include "base/text_format.h"
#include "device/device_error.h"

namespace murmelix {

int SimulatedInputDevice::open(int deviceId, const WaveFormat& format, bool queryOnly) {
    int code = DeviceError::kNone;
    if (openDevice(deviceId, format, queryOnly, code)) {
        started_ = false;
        overrun_ = 0;
    }
    return code;
}

int SimulatedInputDevice::addBuffer(WaveBuffer* buffer) {
    calls_.push_back(formatText("add %u", buffer != nullptr ? buffer->length : 0u));
    if (buffer == nullptr || buffer->recordData == nullptr) {
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
    buffer->bytesRecorded = 0;
    queue_.push_back(buffer);
    return DeviceError::kNone;
}

int SimulatedInputDevice::start() {
    calls_.push_back("start");
    if (!open_) {
        return fail(DeviceError::kNotOpen);
    }
    if (dead_) {
        return fail(DeviceError::kStreamFailed);
    }
    started_ = true;
    return DeviceError::kNone;
}

int SimulatedInputDevice::reset() {
    calls_.push_back("reset");
    if (!open_) {
        return fail(DeviceError::kNotOpen);
    }
    started_ = false;
    returnAll();
    return DeviceError::kNone;
}

int SimulatedInputDevice::close() {
    calls_.push_back("close");
    if (!open_) {
        return DeviceError::kNone;
    }
    started_ = false;
    returnAll();
    open_ = false;
    return DeviceError::kNone;
}

bool SimulatedInputDevice::waitDone(std::chrono::milliseconds timeout) {
    for (auto waited = timeout.count(); waited > 0 && !done_.pending(); --waited) {
        advance(1);
    }
    return done_.pending();
}

void SimulatedInputDevice::setSource(std::vector<uint8_t> bytes, bool loop) {
    source_ = std::move(bytes);
    loop_ = loop;
    sourcePos_ = 0;
}

void SimulatedInputDevice::die(std::string details) {
    if (!open_ || dead_) {
        return;
    }
    dead_ = true;
    started_ = false;
    returnAll();
    failStream(DeviceError::kStreamFailed, std::move(details));
    done_.notify();
}

void SimulatedInputDevice::advance(uint64_t ms) {
    nowMs_ += ms;
    if (!open_ || !started_) {
        return;
    }
    record(clock_.advance(ms, format_.samplesPerSec, 0x10000));
}

void SimulatedInputDevice::record(uint64_t frames) {
    const uint32_t blockAlign = format_.blockAlign;
    while (frames > 0) {
        if (queue_.empty()) {
            overrun_ += frames;
            for (uint64_t i = 0; i < frames * blockAlign; ++i) {
                nextByte();  // what nobody records is gone all the same
            }
            return;
        }
        WaveBuffer* front = queue_.front();
        const uint64_t room = (front->length - front->bytesRecorded) / blockAlign;
        const uint64_t now = std::min(room, frames);
        for (uint64_t i = 0; i < now * blockAlign; ++i) {
            front->recordData[front->bytesRecorded + i] = nextByte();
        }
        front->bytesRecorded += static_cast<uint32_t>(now * blockAlign);
        frames -= now;
        if (front->length - front->bytesRecorded < blockAlign) {
            queue_.pop_front();
            done_.push(front);
        }
    }
}

uint8_t SimulatedInputDevice::nextByte() {
    if (sourcePos_ >= source_.size()) {
        if (!loop_ || source_.empty()) {
            return format_.bitsPerSample == 8 ? 0x80 : 0x00;
        }
        sourcePos_ = 0;
    }
    return source_[sourcePos_++];
}

void SimulatedInputDevice::returnAll() {
    while (!queue_.empty()) {
        done_.push(queue_.front());
        queue_.pop_front();
    }
}

}  // namespace murmelix
