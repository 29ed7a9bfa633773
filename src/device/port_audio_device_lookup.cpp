#include "device/port_audio_device_lookup.h"

#include <algorithm>
#include <memory>

#include "device/blocking_call.h"
#include "device/device_error.h"
#include "device/port_audio_functions.h"
#include "device/resampler.h"
#include "device/sound_device.h"

namespace murmelix {

int PortAudioDeviceLookup::find(DeviceList::Direction direction, int deviceId,
                                std::unique_ptr<PortAudioLibrary>& library, int& index,
                                std::string& details) {
    if (!library) {
        library = std::make_unique<PortAudioLibrary>();
    }
    if (library->status() != paNoError) {
        details = PortAudioLibrary::describe(library->status());
        return library->status();
    }
    index = DeviceList::portAudioIndex(direction, deviceId);
    if (index < 0) {
        return deviceId == -1 ? DeviceError::kNoDevice : DeviceError::kBadDeviceId;
    }
    return DeviceError::kNone;
}

int PortAudioDeviceLookup::open(DeviceList::Direction direction, int deviceId,
                                const WaveFormat& format, bool queryOnly,
                                std::unique_ptr<PortAudioLibrary>& library, PortAudioStream& stream,
                                const std::function<bool(double, int)>& configure, Stream& prepared,
                                std::string& details) {
    if (stream.isOpen()) {
        return DeviceError::kAlreadyOpen;
    }
    if (const int code = prepare(direction, deviceId, format, library, prepared, details)) {
        return code;
    }
    if (queryOnly) {
        return DeviceError::kNone;
    }
    if (!configure(prepared.rate, prepared.parameters.channelCount)) {
        return DeviceError::kNoMemory;
    }
    const bool output = direction == DeviceList::Direction::Output;
    if (const int code = stream.open(output ? nullptr : &prepared.parameters,
                                     output ? &prepared.parameters : nullptr, prepared.rate,
                                     prepared.index, output)) {
        details = stream.details();
        return code;
    }
    return DeviceError::kNone;
}

int PortAudioDeviceLookup::prepare(DeviceList::Direction direction, int deviceId,
                                   const WaveFormat& format,
                                   std::unique_ptr<PortAudioLibrary>& library, Stream& stream,
                                   std::string& details) {
    if (!SoundDevice::isUsableFormat(format)) {
        return DeviceError::kBadFormat;
    }
    if (const int code = find(direction, deviceId, library, stream.index, details)) {
        return code;
    }
    const bool output = direction == DeviceList::Direction::Output;
    const PaDeviceInfo* info = PortAudioFunctions::get().Pa_GetDeviceInfo(stream.index);
    stream.rate = info->defaultSampleRate;
    // The converter's ratio runs from the rate samples come in at to the one they leave at.
    const double ratio =
        output ? stream.rate / format.samplesPerSec : format.samplesPerSec / stream.rate;
    if (!Resampler::isUsableRatio(ratio)) {
        return DeviceError::kBadFormat;
    }
    PaStreamParameters& parameters = stream.parameters;
    parameters = PaStreamParameters{};
    parameters.device = stream.index;
    parameters.channelCount =
        std::min(2, output ? info->maxOutputChannels : info->maxInputChannels);
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = std::max(
        output ? info->defaultLowOutputLatency : info->defaultLowInputLatency, kLatencySeconds);
    // The check opens the device, which waits for the sound server.
    auto supported = std::make_shared<PaError>(paNoError);
    const PaStreamParameters asked = parameters;
    const double rate = stream.rate;
    if (!BlockingCall::run(
            [=] {
                *supported =
                    output ? PortAudioFunctions::get().Pa_IsFormatSupported(nullptr, &asked, rate)
                           : PortAudioFunctions::get().Pa_IsFormatSupported(&asked, nullptr, rate);
            },
            PortAudioLibrary::kStartDeadline)) {
        details = PortAudioLibrary::describe(paTimedOut);
        return DeviceError::kNotResponding;
    }
    if (*supported != paFormatIsSupported) {
        details = PortAudioLibrary::describe(*supported);
        return *supported;
    }
    return DeviceError::kNone;
}

}  // namespace murmelix
