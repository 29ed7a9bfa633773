#pragma once

#include <optional>

#include "device/device_catalog.h"
#include "device/port_audio_library.h"

namespace murmelix {

// The system's sound devices through PortAudio. The library is started by the first list
// and kept started until the catalog goes, so that opening a device later does not scan
// the devices again.
class PortAudioDeviceCatalog : public DeviceCatalog {
  public:
    DeviceLists list() override;

  private:
    std::optional<PortAudioLibrary> library_;
};

}  // namespace murmelix
