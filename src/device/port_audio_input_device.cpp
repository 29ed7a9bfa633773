#include "device/port_audio_input_device.h"

#include <portaudio.h>

#include <algorithm>

#include "device/device_error.h"
#include "device/device_list.h"
#include "device/port_audio_device_lookup.h"

namespace murmelix {

PortAudioInputDevice::PortAudioInputDevice() = default;

PortAudioInputDevice::~PortAudioInputDevice() {
    close();
}

int PortAudioInputDevice::open(int deviceId, const WaveFormat& format, bool queryOnly) {
    if (stream_ != nullptr) {
        return fail(DeviceError::kAlreadyOpen);
    }
    PortAudioDeviceLookup::Stream prepared;
    std::string details;
    if (const int code = PortAudioDeviceLookup::prepare(DeviceList::Direction::Input, deviceId,
                                                        format, library_, prepared, details)) {
        return fail(code, details);
    }
    const double rate = prepared.rate;
    const PaStreamParameters& parameters = prepared.parameters;
    const int index = prepared.index;
    if (queryOnly) {
        return DeviceError::kNone;
    }

    clearErrors();
    if (!capturer_.configure(format, rate, parameters.channelCount)) {
        return fail(DeviceError::kNoMemory);
    }
    PaStream* stream = nullptr;
    const PaError error = Pa_OpenStream(&stream, &parameters, nullptr, rate,
                                        paFramesPerBufferUnspecified, paNoFlag, &callback, this);
    if (error != paNoError) {
        return failPortAudio(error);
    }
    Pa_SetStreamFinishedCallback(stream, &finished);
    PortAudioLibrary::preferRealTime(stream, index);
    stream_ = stream;
    running_ = false;
    failed_ = false;
    streamRate_ = rate;
    streamChannels_ = parameters.channelCount;
    return DeviceError::kNone;
}

int PortAudioInputDevice::addBuffer(WaveBuffer* buffer) {
    if (buffer == nullptr || buffer->recordData == nullptr) {
        return fail(DeviceError::kInvalidParameter);
    }
    if (stream_ == nullptr) {
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
    if (stream_ == nullptr) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    if (failed_) {
        // Starting a stream whose sound server is gone can hang PortAudio; refuse instead.
        return fail(DeviceError::kStreamFailed);
    }
    if (running_) {
        return DeviceError::kNone;
    }
    ended_.store(false, std::memory_order_release);
    const PaError error = Pa_StartStream(stream_);
    if (error != paNoError) {
        return failPortAudio(error);
    }
    running_ = true;
    return DeviceError::kNone;
}

int PortAudioInputDevice::reset() {
    if (stream_ == nullptr) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    stopAndReturnAll();
    return DeviceError::kNone;
}

int PortAudioInputDevice::close() {
    if (stream_ == nullptr) {
        return DeviceError::kNone;
    }
    stopAndReturnAll();
    Pa_CloseStream(stream_);
    stream_ = nullptr;
    return DeviceError::kNone;
}

void PortAudioInputDevice::checkStream() {
    if (running_ && ended_.load(std::memory_order_acquire)) {
        stopAndReturnAll();
        failed_ = true;
        failStream(DeviceError::kStreamFailed);
    }
}

int PortAudioInputDevice::callback(const void* input, void*, unsigned long frames,
                                   const PaStreamCallbackTimeInfo*, unsigned long, void* self) {
    static_cast<PortAudioInputDevice*>(self)->capturer_.capture(static_cast<const float*>(input),
                                                                frames);
    return paContinue;
}

void PortAudioInputDevice::finished(void* self) {
    auto* device = static_cast<PortAudioInputDevice*>(self);
    device->ended_.store(true, std::memory_order_release);
    device->done_.notify();
}

int PortAudioInputDevice::failPortAudio(int error) {
    return fail(error, PortAudioLibrary::describe(error));
}

void PortAudioInputDevice::stopAndReturnAll() {
    if (running_) {
        Pa_AbortStream(stream_);
        running_ = false;
    }
    capturer_.returnAllNow();
}

}  // namespace murmelix
