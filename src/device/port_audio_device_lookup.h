#pragma once

#include <memory>
#include <string>

#include "device/device_list.h"
#include "device/port_audio_library.h"

namespace murmelix {

// The first steps of opening either PortAudio device: PortAudio started (once per device
// object), and the device id turned into PortAudio's index.
class PortAudioDeviceLookup {
  public:
    // 0 with index set, or a device error code with details for errorText().
    static int find(DeviceList::Direction direction, int deviceId,
                    std::unique_ptr<PortAudioLibrary>& library, int& index, std::string& details);
};

}  // namespace murmelix
