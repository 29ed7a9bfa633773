#include "device/device_list.h"

#include <algorithm>
#include <set>

#include "device/port_audio_functions.h"
#include "device/port_audio_library.h"

namespace murmelix {

namespace {

const PortAudioFunctions& portAudio() {
    return PortAudioFunctions::get();
}

bool offers(const PaDeviceInfo& info, DeviceList::Direction direction) {
    return direction == DeviceList::Direction::Output ? info.maxOutputChannels > 0
                                                      : info.maxInputChannels > 0;
}

// The system's default device comes first: a stored device 0 (what a fresh settings file
// holds) then plays through the user's sound server, not through whichever raw card the
// sound system happens to list first.
std::vector<PaDeviceIndex> devicesFor(DeviceList::Direction direction) {
    std::vector<PaDeviceIndex> found;
    const PaDeviceIndex count = portAudio().Pa_GetDeviceCount();
    for (PaDeviceIndex index = 0; index < count; ++index) {
        const PaDeviceInfo* info = portAudio().Pa_GetDeviceInfo(index);
        if (info != nullptr && offers(*info, direction)) {
            found.push_back(index);
        }
    }
    const PaDeviceIndex preferred = direction == DeviceList::Direction::Output
                                        ? portAudio().Pa_GetDefaultOutputDevice()
                                        : portAudio().Pa_GetDefaultInputDevice();
    const auto position = std::find(found.begin(), found.end(), preferred);
    if (position != found.end()) {
        std::rotate(found.begin(), position, position + 1);
    }
    return found;
}

}  // namespace

std::vector<std::string> DeviceList::names(Direction direction) {
    const PortAudioLibrary library;
    std::vector<std::string> names;
    if (library.status() != paNoError) {
        return names;
    }
    const std::vector<PaDeviceIndex> devices = devicesFor(direction);
    std::set<PaHostApiIndex> systems;
    for (const PaDeviceIndex index : devices) {
        systems.insert(portAudio().Pa_GetDeviceInfo(index)->hostApi);
    }
    for (const PaDeviceIndex index : devices) {
        const PaDeviceInfo* info = portAudio().Pa_GetDeviceInfo(index);
        std::string name = info->name != nullptr ? info->name : "";
        if (systems.size() > 1) {
            const PaHostApiInfo* system = portAudio().Pa_GetHostApiInfo(info->hostApi);
            if (system != nullptr && system->name != nullptr) {
                name += std::string(" (") + system->name + ")";
            }
        }
        names.push_back(name);
    }
    return names;
}

int DeviceList::portAudioIndex(Direction direction, int deviceId) {
    if (deviceId == -1) {
        const PaDeviceIndex index = direction == Direction::Output
                                        ? portAudio().Pa_GetDefaultOutputDevice()
                                        : portAudio().Pa_GetDefaultInputDevice();
        return index == paNoDevice ? -1 : index;
    }
    const std::vector<PaDeviceIndex> devices = devicesFor(direction);
    if (deviceId < 0 || static_cast<size_t>(deviceId) >= devices.size()) {
        return -1;
    }
    return devices[static_cast<size_t>(deviceId)];
}

}  // namespace murmelix
