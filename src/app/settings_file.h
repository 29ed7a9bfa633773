#pragma once

#include <string>

#include "app/ini_file.h"
#include "app/program_settings.h"

namespace murmelix {

class UserInterface;

// Reads and writes every program setting, key by key in the file's fixed order, with each
// key's type and default. Keys this program does not know, and comments, survive a save.
class SettingsFile {
  public:
    static constexpr const char* kReadError = "Can't read settings file '%s' (%s).";
    static constexpr const char* kWriteError =
        "Can't write settings file '%s' (%s).\nThe file on disk has been left as it was.";
    static constexpr const char* kLineBreakError =
        "Settings file '%s' was saved, but folder or file names that contain a line break "
        "could not be stored in it; their previous values were kept.";

    // Missing or unreadable values give their defaults; the recording values default to
    // currentRecording, what the recording controls show now. The window position is read
    // only when RestWinPos is on. Ranged values are clamped to their controls' ranges.
    static ProgramSettings load(const IniFile& ini, const RecordingSettings& currentRecording = {});
    // Writes every key in order. False when a text holding a line break could not be
    // written (that key keeps its old value); everything else is written regardless.
    static bool store(const ProgramSettings& settings, IniFile& ini);

    // The file at path: a missing file gives the defaults without a message; a file that
    // exists but cannot be read is reported through ui and gives the defaults.
    static ProgramSettings load(const std::string& path, UserInterface& ui,
                                const RecordingSettings& currentRecording = {});
    struct WriteResult {
        bool written = false;  // the file on disk now holds the settings
        std::string message;   // what the user needs to know; empty when all went well
    };
    // Stores the settings into the file at path (keeping what else it holds), creating
    // the file's folder when missing. Nothing on disk changes when written is false.
    static WriteResult write(const std::string& path, const ProgramSettings& settings);
    // write(), with its message shown through ui ("Error"). True when the file was written.
    static bool save(const std::string& path, const ProgramSettings& settings, UserInterface& ui);
};

}  // namespace murmelix
