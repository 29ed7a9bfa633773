#include "app/program_settings.h"

namespace murmelix {

int ProgramSettings::deviceId(int index, int deviceCount) {
    return (index >= 0 && index < deviceCount) ? index : kNoDevice;
}

}  // namespace murmelix
