#include "device/port_audio_input_device.h"

#include "device/device_error.h"
#include "device/device_list.h"
#include "device/port_audio_device_lookup.h"

namespace murmelix {

int PortAudioInputDevice::open(int deviceId, const WaveFormat& format, bool queryOnly) {
    std::string details;
    const auto configure = [&](double rate, int channels) {
        clearErrors();  // before the stream can report anything
        return capturer_.configure(format, rate, channels);
    };
    const int code =
        PortAudioDeviceLookup::open(DeviceList::Direction::Input, deviceId, format, queryOnly,
                                    library_, stream_, configure, opened_, details);
    if (code == DeviceError::kNone && !queryOnly) {
        failed_ = false;
    }
    return code == DeviceError::kNone ? code : fail(code, details);
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
