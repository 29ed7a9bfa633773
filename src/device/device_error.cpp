#include "device/device_error.h"

#include "base/text_format.h"
#include "device/port_audio_functions.h"

namespace murmelix {

std::string DeviceError::text(int code) {
    switch (code) {
        case kNone:
            return "No error.";
        case kUnspecified:
            return "The sound device reported an error.";
        case kBadDeviceId:
            return "The selected sound device does not exist. Choose another one in the "
                   "settings.";
        case kAlreadyOpen:
            return "The sound device is already open.";
        case kNotOpen:
            return "The sound device is not open.";
        case kNoDevice:
            return "No sound device is available.";
        case kNoMemory:
            return "Not enough memory for the sound device.";
        case kInvalidParameter:
            return "An invalid value was passed to the sound device.";
        case kBadFormat:
            return "The sound device cannot handle this format (only PCM with 8 or 16 bits, "
                   "mono or stereo, at a usable sample rate).";
        case kTooManyBuffers:
            return "Too many buffers are queued on the sound device.";
        case kStreamFailed:
            return "The sound device stopped working (the sound server may have quit).";
        case kNotResponding:
            return "The sound device stopped responding.";
        default:
            break;
    }
    const PortAudioFunctions& pa = PortAudioFunctions::get();
    if (code < 0 && !pa.loaded()) {
        return pa.failure();
    }
    if (code < 0) {
        return formatText("%s (PortAudio error %d).", pa.Pa_GetErrorText(code), code);
    }
    return formatText("Sound device error %d.", code);
}

}  // namespace murmelix
