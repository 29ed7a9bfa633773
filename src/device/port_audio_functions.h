#pragma once

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <pa_linux_alsa.h>
#include <portaudio.h>

#include <string>

#include "base/shared_library.h"

namespace murmelix {

// The PortAudio functions the devices use, from the library opened on first use (see
// SharedLibrary), and the message hooks of the ALSA and JACK libraries it brings along. Work
// with the devices starts with PortAudioLibrary, which checks loaded() first.
class PortAudioFunctions {
  public:
    // Opened by the first call, on whichever thread makes it.
    static const PortAudioFunctions& get();

    bool loaded() const { return library_.loaded(); }
    const std::string& failure() const { return library_.failure(); }

    decltype(&::Pa_Initialize) Pa_Initialize = nullptr;
    decltype(&::Pa_Terminate) Pa_Terminate = nullptr;
    decltype(&::Pa_GetErrorText) Pa_GetErrorText = nullptr;
    decltype(&::Pa_GetLastHostErrorInfo) Pa_GetLastHostErrorInfo = nullptr;
    decltype(&::Pa_GetDeviceCount) Pa_GetDeviceCount = nullptr;
    decltype(&::Pa_GetDeviceInfo) Pa_GetDeviceInfo = nullptr;
    decltype(&::Pa_GetDefaultOutputDevice) Pa_GetDefaultOutputDevice = nullptr;
    decltype(&::Pa_GetDefaultInputDevice) Pa_GetDefaultInputDevice = nullptr;
    decltype(&::Pa_GetHostApiInfo) Pa_GetHostApiInfo = nullptr;
    decltype(&::Pa_IsFormatSupported) Pa_IsFormatSupported = nullptr;
    decltype(&::Pa_OpenStream) Pa_OpenStream = nullptr;
    decltype(&::Pa_SetStreamFinishedCallback) Pa_SetStreamFinishedCallback = nullptr;
    decltype(&::Pa_StartStream) Pa_StartStream = nullptr;
    decltype(&::Pa_AbortStream) Pa_AbortStream = nullptr;
    decltype(&::Pa_CloseStream) Pa_CloseStream = nullptr;
    decltype(&::Pa_GetStreamInfo) Pa_GetStreamInfo = nullptr;
    decltype(&::Pa_GetStreamCpuLoad) Pa_GetStreamCpuLoad = nullptr;
    decltype(&::PaAlsa_EnableRealtimeScheduling) PaAlsa_EnableRealtimeScheduling = nullptr;
    // Null where PortAudio was built without that sound system.
    decltype(&::snd_lib_error_set_handler) snd_lib_error_set_handler = nullptr;
    decltype(&::jack_set_error_function) jack_set_error_function = nullptr;
    decltype(&::jack_set_info_function) jack_set_info_function = nullptr;

  private:
    PortAudioFunctions();

    SharedLibrary library_{"libportaudio.so.2"};
};

}  // namespace murmelix
