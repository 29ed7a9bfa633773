#include "device/port_audio_input_device.h"

#include "device/device_error.h"
#include "device/device_list.h"
#include "device/port_audio_device_lookup.h"

namespace murmelix {

PortAudioInputDevice::PortAudioInputDevice() = default;

PortAudioInputDevice::~PortAudioInputDevice() {
    close();
}

int PortAudioInputDevice::open(int deviceId, const WaveFormat& format, bool queryOnly) {
    if (stream_.isOpen()) {
        return fail(DeviceError::kAlreadyOpen);
    }
    PortAudioDeviceLookup::Stream prepared;
    std::string details;
    if (const int code = PortAudioDeviceLookup::prepare(DeviceList::Direction::Input, deviceId,
                                                        format, library_, prepared, details)) {
        return fail(code, details);
    }
    if (queryOnly) {
        return DeviceError::kNone;
    }
    clearErrors();
    if (!capturer_.configure(format, prepared.rate, prepared.parameters.channelCount)) {
        return fail(DeviceError::kNoMemory);
    }
    if (const int code =
            stream_.open(&prepared.parameters, nullptr, prepared.rate, prepared.index, false)) {
        return fail(code, stream_.details());
    }
    failed_ = false;
    streamRate_ = prepared.rate;
    streamChannels_ = prepared.parameters.channelCount;
    return DeviceError::kNone;
}

int PortAudioInputDevice::addBuffer(WaveBuffer* buffer) {
    if (buffer == nullptr || buffer->recordData == nullptr) {
        return fail(DeviceError::kInvalidParameter);
    }
    if (!stream_.isOpen() && !failed_) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    if (failed_) {
        return fail(DeviceError::kStreamFailed);
    }
    if (!takeOut()) {
        return fail(DeviceError::kTooManyBuffers);
    }
    capturer_.submit(buffer);
    return DeviceError::kNone;
}

int PortAudioInputDevice::start() {
    if (!stream_.isOpen() && !failed_) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    if (failed_) {
        // Starting a stream whose sound server is gone can hang PortAudio; refuse instead.
        return fail(DeviceError::kStreamFailed);
    }
    if (const int code = stream_.start()) {
        if (!stream_.isOpen()) {
            streamGivenUp();
        }
        return fail(code, stream_.details());
    }
    return DeviceError::kNone;
}

int PortAudioInputDevice::reset() {
    if (!stream_.isOpen() && !failed_) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    stopAndReturnAll(false);
    return DeviceError::kNone;
}

int PortAudioInputDevice::close() {
    stopAndReturnAll(true);
    failed_ = false;
    return DeviceError::kNone;
}

void PortAudioInputDevice::checkStream() {
    if (stream_.endedByItself()) {
        stopAndReturnAll(false);
        failed_ = true;
        failStream(DeviceError::kStreamFailed);
    }
}

void PortAudioInputDevice::process(const float* input, float*, unsigned long frames,
                                   const PaStreamCallbackTimeInfo*, unsigned long) {
    capturer_.capture(input, frames);
}

void PortAudioInputDevice::stopAndReturnAll(bool close) {
    if (stream_.isOpen() && !(close ? stream_.close() : stream_.abort())) {
        streamGivenUp();
    }
    capturer_.returnAllNow();
}

void PortAudioInputDevice::streamGivenUp() {
    failed_ = true;
    failStream(DeviceError::kNotResponding, stream_.details());
}

}  // namespace murmelix
