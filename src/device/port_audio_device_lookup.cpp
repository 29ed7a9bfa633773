#include "device/port_audio_device_lookup.h"

#include <portaudio.h>

#include "device/device_error.h"

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

}  // namespace murmelix
