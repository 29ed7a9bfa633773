#include "device/port_audio_library.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <pa_linux_alsa.h>
#include <portaudio.h>

#include <memory>

#include "base/text_format.h"
#include "device/blocking_call.h"

namespace murmelix {

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void ignoreJackMessage(const char*) {}

}  // namespace

PortAudioLibrary::PortAudioLibrary() {
    snd_lib_error_set_handler(&ignoreAlsaMessage);
    jack_set_error_function(&ignoreJackMessage);
    jack_set_info_function(&ignoreJackMessage);
    if (BlockingCall::stillRunning() > 0) {
        status_ = paTimedOut;  // the sound system is still stuck on an earlier call
        return;
    }
    auto status = std::make_shared<PaError>(paNoError);
    const bool inTime =
        BlockingCall::run([status] { *status = Pa_Initialize(); }, kStartDeadline,
                          [status] {
                              if (*status == paNoError) {
                                  Pa_Terminate();  // nobody holds this start any more
                              }
                          });
    status_ = inTime ? *status : paTimedOut;
}

std::string PortAudioLibrary::describe(int error) {
    if (error == paTimedOut) {
        return "The sound system did not answer (the sound server may be frozen or busy); try "
               "again once it responds.";
    }
    std::string text = formatText("%s (PortAudio error %d)", Pa_GetErrorText(error), error);
    if (error == paUnanticipatedHostError) {
        const PaHostErrorInfo* host = Pa_GetLastHostErrorInfo();
        if (host != nullptr && host->errorText != nullptr && host->errorText[0] != '\0') {
            text += formatText(": %s (code %ld)", host->errorText, host->errorCode);
        }
    }
    return text + ".";
}

void PortAudioLibrary::preferRealTime(void* stream, int deviceIndex) {
    const PaDeviceInfo* device = Pa_GetDeviceInfo(deviceIndex);
    const PaHostApiInfo* system = device != nullptr ? Pa_GetHostApiInfo(device->hostApi) : nullptr;
    if (system != nullptr && system->type == paALSA) {
        PaAlsa_EnableRealtimeScheduling(stream, 1);
    }
}

PortAudioLibrary::~PortAudioLibrary() {
    // A stream given up on a stuck sound server is still being closed in the background;
    // shutting PortAudio down would close it once more and wait for the server with it. The
    // process ends soon enough to take it along.
    if (status_ == paNoError && BlockingCall::stillRunning() == 0) {
        Pa_Terminate();
    }
}

}  // namespace murmelix
