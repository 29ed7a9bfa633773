#pragma once

#include <string>
#include <vector>

namespace murmelix {

// The sound devices PortAudio offers, in a fixed order whose positions are the device ids
// the settings store (-1 standing for the system's default device). The names are those the
// sound system gives ("default", "pulse", a card's name); when devices come from more than
// one sound system, the system's name follows in brackets.
class DeviceList {
  public:
    enum class Direction { Output, Input };

    // Names in id order; empty when there is no device (or no sound system at all).
    static std::vector<std::string> names(Direction direction);

    // The PortAudio device index for an id, -1 for the system's default: -1 when the id is
    // out of range or there is no default device. Needs PortAudio initialised.
    static int portAudioIndex(Direction direction, int deviceId);
};

}  // namespace murmelix
