#include "device/port_audio_output_device.h"

#include <time.h>

#include <thread>

#include "device/device_error.h"
#include "device/device_list.h"
#include "device/port_audio_device_lookup.h"

namespace murmelix {

namespace {

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

int PortAudioOutputDevice::open(int deviceId, const WaveFormat& format, bool queryOnly) {
    std::string details;
    const auto configure = [&](double rate, int channels) {
        clearErrors();  // before the stream can report anything
        return renderer_.configure(format, rate, channels);
    };
    const int code =
        PortAudioDeviceLookup::open(DeviceList::Direction::Output, deviceId, format, queryOnly,
                                    library_, stream_, configure, opened_, details);
    if (code == DeviceError::kNone && !queryOnly) {
        latency_ = stream_.outputLatency();
    }
    return code == DeviceError::kNone ? code : fail(code, details);
}

int PortAudioOutputDevice::write(WaveBuffer* buffer) {
    if (buffer == nullptr || (buffer->data == nullptr && buffer->length > 0)) {
        return fail(DeviceError::kInvalidParameter);
    }
    if (!stream_.isOpen()) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    if (!stream_.running()) {
        return fail(DeviceError::kStreamFailed);
    }
    if (!takeOut()) {
        return fail(DeviceError::kTooManyBuffers);
    }
    renderer_.submit(buffer);
    return DeviceError::kNone;
}

int PortAudioOutputDevice::pause() {
    if (!stream_.isOpen()) {
        return fail(DeviceError::kNotOpen);
    }
    renderer_.setPaused(true);
    return DeviceError::kNone;
}

int PortAudioOutputDevice::restart() {
    if (!stream_.isOpen()) {
        return fail(DeviceError::kNotOpen);
    }
    renderer_.setPaused(false);
    return DeviceError::kNone;
}

int PortAudioOutputDevice::reset() {
    if (!stream_.isOpen()) {
        return fail(DeviceError::kNotOpen);
    }
    checkStream();
    if (!stream_.running()) {
        renderer_.returnAllNow(monotonicSeconds());
        return DeviceError::kNone;
    }
    const uint64_t ticket = renderer_.requestReset();
    const auto deadline = std::chrono::steady_clock::now() + kResetTimeout;
    while (!renderer_.resetServed(ticket)) {
        if (stream_.endedByItself()) {
            checkStream();
            return DeviceError::kNone;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            // The callback has stopped coming: the sound system is stuck. Waiting for it to
            // stop the stream could take forever, so give the stream up at once.
            stream_.abandon();
            renderer_.returnAllNow(monotonicSeconds());
            failStream(DeviceError::kNotResponding,
                       "The sound device stopped responding; playback was given up. Sound "
                       "works again once the sound server responds.");
            return DeviceError::kNone;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return DeviceError::kNone;
}

int PortAudioOutputDevice::setPlaybackRate(uint32_t rate) {
    if (!stream_.isOpen()) {
        return fail(DeviceError::kNotOpen);
    }
    if (rate == 0) {
        return fail(DeviceError::kInvalidParameter);
    }
    renderer_.setRate(rate);
    return DeviceError::kNone;
}

int PortAudioOutputDevice::close() {
    if (stream_.isOpen()) {
        closeAndReturnAll();
    }
    return DeviceError::kNone;
}

double PortAudioOutputDevice::callbackLoad() const {
    return stream_.cpuLoad();
}

void PortAudioOutputDevice::checkStream() {
    if (stream_.endedByItself()) {
        // Stopped, not closed: the owner still closes the device as after any playback.
        stream_.abort();
        renderer_.returnAllNow(monotonicSeconds());
        failStream(DeviceError::kStreamFailed);
    }
}

void PortAudioOutputDevice::process(const float*, float* output, unsigned long frames,
                                    const PaStreamCallbackTimeInfo* time, unsigned long flags) {
    if ((flags & paOutputUnderflow) != 0) {
        renderer_.noteSystemUnderflow();
    }
    // Our own clock for now, the stream's word for how far the sound card is behind: some
    // sound systems report their times on a clock of their own, or not at all.
    const double now = monotonicSeconds();
    double behind = latency_;
    if (time != nullptr && time->outputBufferDacTime > time->currentTime &&
        time->outputBufferDacTime - time->currentTime < 2.0) {
        behind = time->outputBufferDacTime - time->currentTime;
    }
    renderer_.render(output, frames, {now, now + behind});
}

void PortAudioOutputDevice::closeAndReturnAll() {
    if (!stream_.close()) {
        failStream(DeviceError::kNotResponding, stream_.details());
    }
    renderer_.returnAllNow(monotonicSeconds());
}

}  // namespace murmelix
