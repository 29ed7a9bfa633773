#include "app/ini_location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/path_text.h"

namespace murmelix {

namespace {

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string passwordHome() {
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

}  // namespace

std::string IniLocation::resolve(const Environment& environment) {
    const std::string folder = PathText::folderOf(environment.executablePath);
    if (folder.empty()) {
        return configurationFile(environment);
    }
    const std::string beside = joined(folder, kFileName);
    if (exists(beside)) {
        return beside;
    }
    if (isFolder(folder) && ::access(folder.c_str(), W_OK) == 0) {
        return beside;
    }
    return configurationFile(environment);
}

// A relative $XDG_CONFIG_HOME is to be ignored, as the base directory rules say.
std::string IniLocation::configurationFile(const Environment& environment) {
    std::string base = environment.xdgConfigHome;
    if (base.empty() || base.front() != '/') {
        base = joined(environment.home, ".config");
    }
    return joined(joined(base, "murmelix"), kFileName);
}

IniLocation::Environment IniLocation::current() {
    Environment environment;
    std::error_code error;
    environment.executablePath = std::filesystem::read_symlink("/proc/self/exe", error).string();
    environment.xdgConfigHome = environmentText("XDG_CONFIG_HOME");
    environment.home = environmentText("HOME");
    if (environment.home.empty()) {
        environment.home = passwordHome();
    }
    return environment;
}

bool IniLocation::prepareFolder(const std::string& iniPath, int* error) {
    const std::string folder = PathText::folderOf(iniPath);
    if (folder.empty() || isFolder(folder)) {
        return true;
    }
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure || !isFolder(folder)) {
        if (error != nullptr) {
            *error = failure ? failure.value() : ENOTDIR;
        }
        return false;
    }
    return true;
}

}  // namespace murmelix
