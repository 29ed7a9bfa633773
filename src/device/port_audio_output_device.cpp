#include "device/port_audio_output_device.h"

#include <portaudio.h>

#include <algorithm>
#include <thread>

#include "device/device_error.h"
#include "device/device_list.h"
#include "device/port_audio_device_lookup.h"

namespace murmelix {

PortAudioOutputDevice::PortAudioOutputDevice() = default;

PortAudioOutputDevice::~PortAudioOutputDevice() {
    close();
}

int PortAudioOutputDevice::open(int deviceId, const WaveFormat& format, bool queryOnly) {
    if (stream_ != nullptr) {
        return fail(DeviceError::kAlreadyOpen);
    }
    PortAudioDeviceLookup::Stream prepared;
    std::string details;
    if (const int code = PortAudioDeviceLookup::prepare(DeviceList::Direction::Output, deviceId,
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
    if (!renderer_.configure(format, rate, parameters.channelCount)) {
        return fail(DeviceError::kNoMemory);
    }
    PaStream* stream = nullptr;
    PaError error = Pa_OpenStream(&stream, nullptr, &parameters, rate, paFramesPerBufferUnspecified,
                                  paNoFlag, &callback, this);
    if (error != paNoError) {
        return failPortAudio(error);
    }
    Pa_SetStreamFinishedCallback(stream, &finished);
    PortAudioLibrary::preferRealTime(stream, index);
    ended_.store(false, std::memory_order_release);
    error = Pa_StartStream(stream);
    if (error != paNoError) {
        const int code = failPortAudio(error);
        Pa_CloseStream(stream);
        return code;
    }
    stream_ = stream;
    running_ = true;
    streamRate_ = rate;
    streamChannels_ = parameters.channelCount;
    return DeviceError::kNone;
}

int PortAudioOutputDevice::write(WaveBuffer* buffer) {
    if (buffer == nullptr || (buffer->data == nullptr && buffer->length > 0)) {
        return fail(DeviceError::kInvalidParameter);
    }
    if (stream_ == nullptr) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    if (!running_) {
        return fail(DeviceError::kStreamFailed);
    }
    if (!takeOut()) {
        return fail(DeviceError::kTooManyBuffers);
    }
    renderer_.submit(buffer);
    return DeviceError::kNone;
}

int PortAudioOutputDevice::pause() {
    if (stream_ == nullptr) {
        return fail(DeviceError::kNotOpen);
    }
    renderer_.setPaused(true);
    return DeviceError::kNone;
}

int PortAudioOutputDevice::restart() {
    if (stream_ == nullptr) {
        return fail(DeviceError::kNotOpen);
    }
    renderer_.setPaused(false);
    return DeviceError::kNone;
}

int PortAudioOutputDevice::reset() {
    if (stream_ == nullptr) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    if (!running_) {
        renderer_.returnAllNow();
        return DeviceError::kNone;
    }
    const uint64_t ticket = renderer_.requestReset();
    const auto deadline = std::chrono::steady_clock::now() + kResetTimeout;
    while (!renderer_.resetServed(ticket)) {
        if (ended_.load(std::memory_order_acquire)) {
            checkStream();
            return DeviceError::kNone;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            stopAndReturnAll();
            failStream(DeviceError::kNotResponding);
            return DeviceError::kNone;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return DeviceError::kNone;
}

int PortAudioOutputDevice::setPlaybackRate(uint32_t rate) {
    if (stream_ == nullptr) {
        return fail(DeviceError::kNotOpen);
    }
    if (rate == 0) {
        return fail(DeviceError::kInvalidParameter);
    }
    renderer_.setRate(rate);
    return DeviceError::kNone;
}

int PortAudioOutputDevice::close() {
    if (stream_ == nullptr) {
        return DeviceError::kNone;
    }
    stopAndReturnAll();
    Pa_CloseStream(stream_);
    stream_ = nullptr;
    return DeviceError::kNone;
}

double PortAudioOutputDevice::callbackLoad() const {
    return stream_ != nullptr ? Pa_GetStreamCpuLoad(stream_) : 0.0;
}

void PortAudioOutputDevice::checkStream() {
    if (running_ && ended_.load(std::memory_order_acquire)) {
        stopAndReturnAll();
        failStream(DeviceError::kStreamFailed);
    }
}

int PortAudioOutputDevice::callback(const void*, void* output, unsigned long frames,
                                    const PaStreamCallbackTimeInfo*, unsigned long flags,
                                    void* self) {
    OutputRenderer& renderer = static_cast<PortAudioOutputDevice*>(self)->renderer_;
    if ((flags & paOutputUnderflow) != 0) {
        renderer.noteSystemUnderflow();
    }
    renderer.render(static_cast<float*>(output), frames);
    return paContinue;
}

void PortAudioOutputDevice::finished(void* self) {
    auto* device = static_cast<PortAudioOutputDevice*>(self);
    device->ended_.store(true, std::memory_order_release);
    device->done_.notify();
}

int PortAudioOutputDevice::failPortAudio(int error) {
    return fail(error, PortAudioLibrary::describe(error));
}

void PortAudioOutputDevice::stopAndReturnAll() {
    if (running_) {
        // Abort rather than stop: nothing queued is to be heard any more, and after the
        // stream has died on its own only an abort is sure to come back.
        Pa_AbortStream(stream_);
        running_ = false;
    }
    renderer_.returnAllNow();
}

}  // namespace murmelix
