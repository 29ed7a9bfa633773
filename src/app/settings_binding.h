#pragma once

#include "app/program_settings.h"

namespace murmelix {

class Program;

// Hands loaded settings to the program objects that hold them while the program runs, and
// reads them back for saving. Values only the windows hold (window places, fonts, the tool
// windows, the settings dialog's own options) are left to the windows.
class SettingsBinding {
  public:
    // How many devices the device boxes list, so stored indexes can be checked.
    struct DeviceCounts {
        int outputs = 0;
        int inputs = 0;
    };

    // In the file's order, as start-up applies them: the segment lengths follow their spin
    // edits, the random source is selected with its stored kind and file (a stored file
    // source without a file asks for one; cancelling keeps the pseudo generator) before its
    // options and formula values, and a device index naming no device selects the default.
    static void apply(const ProgramSettings& settings, Program& program, DeviceCounts devices);
    // The program's current values into settings; the windows' values stay as they are.
    static void capture(const Program& program, ProgramSettings& settings);
    // The stored devices alone, once the device lists are known (they arrive after start-up).
    static void applyDevices(const ProgramSettings& settings, Program& program,
                             DeviceCounts devices);

  private:
    static void applySegments(const ProgramSettings& settings, Program& program);
    static void applyFolders(const ProgramSettings& settings, Program& program);
    static void applyRandomSource(const ProgramSettings& settings, Program& program);
};

}  // namespace murmelix
