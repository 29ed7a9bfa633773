#pragma once

#include <string>
#include <vector>

namespace murmelix {

// The sound devices a program can offer, in device id order, and what keeps the sound
// system from working (empty when it works).
struct DeviceLists {
    std::vector<std::string> outputs;
    std::vector<std::string> inputs;
    std::string failure;
};

// Where the device lists come from. Starting a sound system and asking it for its devices
// can take longer than drawing a whole window, so a window asks only once it is drawn (or
// when the lists are needed earlier). UI thread.
class DeviceCatalog {
  public:
    virtual ~DeviceCatalog() = default;
    virtual DeviceLists list() = 0;
};

}  // namespace murmelix
