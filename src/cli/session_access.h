#pragma once

#include <string>

#include "base/user_interface.h"
#include "session/session_file_contents.h"

namespace murmelix::cli {

// Reads a session file as the program opens one, with the notes kept beside it: false
// (message shown) when it cannot be read or is no session file; lines that could not be read,
// and notes that cannot be trusted, are reported once.
bool readSessionFile(const std::string& path, SessionFileContents& contents, UserInterface& ui);

// Saves with the program's messages, and the notes beside it; false when the file was left as
// it was or the notes could not be kept.
bool saveSessionFile(const std::string& path, const SessionFileContents& contents,
                     UserInterface& ui);

// Whether two names denote the same file (after making them absolute and resolving links).
bool sameFile(const std::string& a, const std::string& b);

}  // namespace murmelix::cli
