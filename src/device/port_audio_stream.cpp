#include "device/port_audio_stream.h"

#include <algorithm>

#include "base/text_format.h"
#include "device/blocking_call.h"
#include "device/device_error.h"
#include "device/port_audio_functions.h"
#include "device/port_audio_library.h"

namespace murmelix {

// What the callbacks see. It outlives the owner's hold on the stream for as long as a
// background thread may still close the stream.
struct PortAudioStream::Link {
    Link(Client& c, int channels) : client(&c), outputChannels(channels) {}
    CallbackGate gate;
    Client* client;
    int outputChannels;
    std::atomic<bool> ended{false};
};

namespace {

const PortAudioFunctions& portAudio() {
    return PortAudioFunctions::get();
}

// What an open made in the background left behind, for the owner or for its cleanup.
struct Opened {
    PaStream* stream = nullptr;
    PaError error = paNoError;
    std::string details;
};

void stopAndClose(PaStream* stream) {
    portAudio().Pa_AbortStream(stream);
    portAudio().Pa_CloseStream(stream);
}

}  // namespace

PortAudioStream::~PortAudioStream() {
    close();
}

int PortAudioStream::open(const PaStreamParameters* input, const PaStreamParameters* output,
                          double rate, int deviceIndex, bool start) {
    close();
    details_.clear();
    auto link = std::make_shared<Link>(client_, output != nullptr ? output->channelCount : 0);
    auto opened = std::make_shared<Opened>();
    std::optional<PaStreamParameters> in, out;
    if (input != nullptr) {
        in = *input;
    }
    if (output != nullptr) {
        out = *output;
    }
    const bool inTime = BlockingCall::run(
        [=] {
            PaStream* stream = nullptr;
            PaError error = portAudio().Pa_OpenStream(
                &stream, in ? &*in : nullptr, out ? &*out : nullptr, rate,
                paFramesPerBufferUnspecified, paNoFlag, &callback, link.get());
            if (error == paNoError) {
                portAudio().Pa_SetStreamFinishedCallback(stream, &finished);
                PortAudioLibrary::preferRealTime(stream, deviceIndex);
                error = start ? portAudio().Pa_StartStream(stream) : paNoError;
                if (error != paNoError) {
                    opened->details = PortAudioLibrary::describe(error);
                    portAudio().Pa_CloseStream(stream);
                    stream = nullptr;
                }
            } else {
                opened->details = PortAudioLibrary::describe(error);
            }
            opened->stream = stream;
            opened->error = error;
        },
        kOpenDeadline,
        [opened, link] {
            if (opened->stream != nullptr) {
                stopAndClose(opened->stream);
            }
        });
    if (!inTime) {
        link->gate.close();
        return notResponding("open");
    }
    if (opened->error != paNoError) {
        details_ = opened->details;
        return opened->error;
    }
    link_ = link;
    stream_ = opened->stream;
    running_ = start;
    return paNoError;
}

int PortAudioStream::start() {
    if (stream_ == nullptr) {
        return DeviceError::kNotOpen;
    }
    if (running_) {
        return paNoError;
    }
    link_->ended.store(false, std::memory_order_release);
    PaError error = paNoError;
    if (!call(portAudio().Pa_StartStream, error)) {
        return notResponding("start");
    }
    if (error != paNoError) {
        return error;
    }
    running_ = true;
    return paNoError;
}

bool PortAudioStream::abort() {
    if (stream_ == nullptr || !running_) {
        return true;
    }
    PaError error = paNoError;
    if (!call(portAudio().Pa_AbortStream, error)) {
        notResponding("stop");
        return false;
    }
    running_ = false;
    return true;
}

bool PortAudioStream::close() {
    return closeWithin(kStopDeadline);
}

void PortAudioStream::abandon() {
    if (stream_ != nullptr) {
        link_->gate.close();  // at once: the close below is not waited for
        closeWithin(std::chrono::milliseconds(0));
    }
}

bool PortAudioStream::closeWithin(std::chrono::milliseconds deadline) {
    if (stream_ == nullptr) {
        return true;
    }
    PaStream* stream = stream_;
    auto link = link_;
    const bool inTime = BlockingCall::run([stream, link] { stopAndClose(stream); }, deadline);
    if (!inTime) {
        link->gate.close();
        notResponding("close");
    }
    forget();
    return inTime;
}

bool PortAudioStream::endedByItself() const {
    return running_ && link_ != nullptr && link_->ended.load(std::memory_order_acquire);
}

double PortAudioStream::outputLatency() const {
    const PaStreamInfo* info = stream_ != nullptr ? portAudio().Pa_GetStreamInfo(stream_) : nullptr;
    return info != nullptr ? info->outputLatency : 0.0;
}

double PortAudioStream::cpuLoad() const {
    return stream_ != nullptr ? portAudio().Pa_GetStreamCpuLoad(stream_) : 0.0;
}

int PortAudioStream::callback(const void* input, void* output, unsigned long frames,
                              const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                              void* user) {
    Link& link = *static_cast<Link*>(user);
    if (!link.gate.enter()) {
        if (output != nullptr) {
            std::fill_n(static_cast<float*>(output), frames * link.outputChannels, 0.0f);
        }
        return paAbort;
    }
    link.client->process(static_cast<const float*>(input), static_cast<float*>(output), frames,
                         time, flags);
    link.gate.leave();
    return paContinue;
}

void PortAudioStream::finished(void* user) {
    Link& link = *static_cast<Link*>(user);
    link.ended.store(true, std::memory_order_release);
    if (link.gate.enter()) {
        link.client->streamEnded();
        link.gate.leave();
    }
}

int PortAudioStream::notResponding(const char* what) {
    details_ = formatText(
        "The sound system did not answer (the %s of the stream took too long); the stream was "
        "given up. Sound works again once the sound server responds.",
        what);
    return DeviceError::kNotResponding;
}

bool PortAudioStream::call(PaError (*what)(PaStream*), PaError& result) {
    PaStream* stream = stream_;
    auto link = link_;
    auto error = std::make_shared<PaError>(paNoError);
    if (BlockingCall::run([stream, link, what, error] { *error = what(stream); }, kStopDeadline,
                          [stream] { portAudio().Pa_CloseStream(stream); })) {
        result = *error;
        return true;
    }
    link->gate.close();
    forget();
    return false;
}

void PortAudioStream::forget() {
    link_.reset();
    stream_ = nullptr;
    running_ = false;
}

}  // namespace murmelix
