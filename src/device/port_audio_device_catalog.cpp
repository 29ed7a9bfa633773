#include "device/port_audio_device_catalog.h"

#include "device/device_list.h"

namespace murmelix {

DeviceLists PortAudioDeviceCatalog::list() {
    if (!library_) {
        library_.emplace();
    }
    DeviceLists lists;
    if (library_->status() != 0) {
        lists.failure = "The sound system could not be started: " +
                        PortAudioLibrary::describe(library_->status());
    }
    lists.outputs = DeviceList::names(DeviceList::Direction::Output);
    lists.inputs = DeviceList::names(DeviceList::Direction::Input);
    return lists;
}

}  // namespace murmelix
