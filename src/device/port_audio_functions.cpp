#include "device/port_audio_functions.h"

namespace murmelix {

const PortAudioFunctions& PortAudioFunctions::get() {
    static const PortAudioFunctions functions;
    return functions;
}

PortAudioFunctions::PortAudioFunctions() {
    library_.bind(Pa_Initialize, "Pa_Initialize");
    library_.bind(Pa_Terminate, "Pa_Terminate");
    library_.bind(Pa_GetErrorText, "Pa_GetErrorText");
    library_.bind(Pa_GetLastHostErrorInfo, "Pa_GetLastHostErrorInfo");
    library_.bind(Pa_GetDeviceCount, "Pa_GetDeviceCount");
    library_.bind(Pa_GetDeviceInfo, "Pa_GetDeviceInfo");
    library_.bind(Pa_GetDefaultOutputDevice, "Pa_GetDefaultOutputDevice");
    library_.bind(Pa_GetDefaultInputDevice, "Pa_GetDefaultInputDevice");
    library_.bind(Pa_GetHostApiInfo, "Pa_GetHostApiInfo");
    library_.bind(Pa_IsFormatSupported, "Pa_IsFormatSupported");
    library_.bind(Pa_OpenStream, "Pa_OpenStream");
    library_.bind(Pa_SetStreamFinishedCallback, "Pa_SetStreamFinishedCallback");
    library_.bind(Pa_StartStream, "Pa_StartStream");
    library_.bind(Pa_AbortStream, "Pa_AbortStream");
    library_.bind(Pa_CloseStream, "Pa_CloseStream");
    library_.bind(Pa_GetStreamInfo, "Pa_GetStreamInfo");
    library_.bind(Pa_GetStreamCpuLoad, "Pa_GetStreamCpuLoad");
    library_.bind(PaAlsa_EnableRealtimeScheduling, "PaAlsa_EnableRealtimeScheduling");
    library_.bindIfPresent(snd_lib_error_set_handler, "snd_lib_error_set_handler");
    library_.bindIfPresent(jack_set_error_function, "jack_set_error_function");
    library_.bindIfPresent(jack_set_info_function, "jack_set_info_function");
}

}  // namespace murmelix
