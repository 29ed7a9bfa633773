#pragma once

#include <string>

namespace murmelix {

// Where the settings file lives. The program keeps it beside its executable, as it always
// did; when that folder cannot be written (an installed program) and holds no settings file
// yet, the user's configuration folder takes it instead.
class IniLocation {
  public:
    static constexpr const char* kFileName = "murmelix.ini";

    struct Environment {
        std::string executablePath;  // the running program's full path
        std::string xdgConfigHome;   // $XDG_CONFIG_HOME, may be empty
        std::string home;            // the user's home folder
    };

    // The settings file for that environment.
    static std::string resolve(const Environment& environment);
    // The running program's environment: /proc/self/exe and the variables above.
    static Environment current();

    // Creates the folder the file goes into (and its parents) when missing. False with
    // *error set when it cannot be created.
    static bool prepareFolder(const std::string& iniPath, int* error = nullptr);

  private:
    static std::string configurationFile(const Environment& environment);
};

}  // namespace murmelix
