#pragma once

#include <portaudio.h>

#include <functional>
#include <memory>
#include <string>

#include "audio/wave_format.h"
#include "device/device_list.h"
#include "device/port_audio_library.h"
#include "device/port_audio_stream.h"

namespace murmelix {

// The steps opening either PortAudio device shares, up to the stream itself: PortAudio
// started (once per device object), the device id turned into PortAudio's index, and the
// stream the device would open checked: one at the device's own rate, float samples, at most
// two channels, the requested format converted to and from it.
class PortAudioDeviceLookup {
  public:
    // Enough for a steady stream through a sound server while the machine is busy.
    static constexpr double kLatencySeconds = 0.05;

    struct Stream {
        int index = -1;  // PortAudio's device index
        double rate = 0;
        PaStreamParameters parameters{};
    };

    // 0 with the stream to open, or a device error code (PortAudio's own for its failures)
    // with details for errorText().
    static int prepare(DeviceList::Direction direction, int deviceId, const WaveFormat& format,
                       std::unique_ptr<PortAudioLibrary>& library, Stream& stream,
                       std::string& details);

    // The whole open of either device: a second open refused, the stream prepared (and no
    // more with `queryOnly`), `configure` given the stream's rate and channel count to size
    // the device's converter (false: out of memory), then `stream` opened. 0 with the
    // prepared stream in `prepared`, or a device error code with details.
    static int open(DeviceList::Direction direction, int deviceId, const WaveFormat& format,
                    bool queryOnly, std::unique_ptr<PortAudioLibrary>& library,
                    PortAudioStream& stream, const std::function<bool(double, int)>& configure,
                    Stream& prepared, std::string& details);

  private:
    static int find(DeviceList::Direction direction, int deviceId,
                    std::unique_ptr<PortAudioLibrary>& library, int& index, std::string& details);
};

}  // namespace murmelix
