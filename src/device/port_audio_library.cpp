#include "device/port_audio_library.h"

#include <memory>

#include "base/text_format.h"
#include "device/blocking_call.h"
#include "device/port_audio_functions.h"

namespace murmelix {

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void ignoreJackMessage(const char*) {}

}  // namespace

PortAudioLibrary::PortAudioLibrary() {
    const PortAudioFunctions& pa = PortAudioFunctions::get();
    if (!pa.loaded()) {
        status_ = paNotInitialized;  // describe() names the missing library
        return;
    }
    if (pa.snd_lib_error_set_handler != nullptr) {
        pa.snd_lib_error_set_handler(&ignoreAlsaMessage);
    }
    if (pa.jack_set_error_function != nullptr && pa.jack_set_info_function != nullptr) {
        pa.jack_set_error_function(&ignoreJackMessage);
        pa.jack_set_info_function(&ignoreJackMessage);
    }
    if (BlockingCall::stillRunning() > 0) {
        status_ = paTimedOut;  // the sound system is still stuck on an earlier call
        return;
    }
    auto status = std::make_shared<PaError>(paNoError);
    const bool inTime = BlockingCall::run(
        [status] { *status = PortAudioFunctions::get().Pa_Initialize(); }, kStartDeadline,
        [status] {
            if (*status == paNoError) {
                PortAudioFunctions::get().Pa_Terminate();  // nobody holds this start any more
            }
        });
    status_ = inTime ? *status : paTimedOut;
}

std::string PortAudioLibrary::describe(int error) {
    if (error == paTimedOut) {
        return "The sound system did not answer (the sound server may be frozen or busy); try "
               "again once it responds.";
    }
    if (!PortAudioFunctions::get().loaded()) {
        return PortAudioFunctions::get().failure();
    }
    std::string text = formatText("%s (PortAudio error %d)",
                                  PortAudioFunctions::get().Pa_GetErrorText(error), error);
    if (error == paUnanticipatedHostError) {
        const PaHostErrorInfo* host = PortAudioFunctions::get().Pa_GetLastHostErrorInfo();
        if (host != nullptr && host->errorText != nullptr && host->errorText[0] != '\0') {
            text += formatText(": %s (code %ld)", host->errorText, host->errorCode);
        }
    }
    return text + ".";
}

void PortAudioLibrary::preferRealTime(void* stream, int deviceIndex) {
    const PaDeviceInfo* device = PortAudioFunctions::get().Pa_GetDeviceInfo(deviceIndex);
    const PaHostApiInfo* system =
        device != nullptr ? PortAudioFunctions::get().Pa_GetHostApiInfo(device->hostApi) : nullptr;
    if (system != nullptr && system->type == paALSA) {
        PortAudioFunctions::get().PaAlsa_EnableRealtimeScheduling(stream, 1);
    }
}

PortAudioLibrary::~PortAudioLibrary() {
    // A stream given up on a stuck sound server is still being closed in the background;
    // shutting PortAudio down would close it once more and wait for the server with it. The
    // process ends soon enough to take it along.
    if (status_ == paNoError && BlockingCall::stillRunning() == 0) {
        PortAudioFunctions::get().Pa_Terminate();
    }
}

}  // namespace murmelix
