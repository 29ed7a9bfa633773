#pragma once

#include <cstdint>
#include <string>

#include "base/user_interface.h"
#include "session/session.h"
#include "session/session_host.h"

namespace murmelix {

// Result of an operation the user can abandon: a caller that gets Cancelled stops its own
// work and leaves everything as it was.
enum class SessionOutcome { Done, Cancelled };

// Opening, saving and closing the session file, with every question they ask. UI thread.
class SessionFileOperations {
  public:
    static constexpr const char* kFilter =
        "Murmelix session files (*.oqt)|*.oqt|All Files (*.*)|*.*";
    static constexpr const char* kDefaultExtension = "*.oqt";
    static constexpr const char* kOpenTitle = "Open new or existing session file...";
    static constexpr const char* kSaveTitle = "Save session file...";
    static constexpr const char* kWavOpenTitle = "Open WAV file...";
    static constexpr const char* kWavFilter = "WAV Files (*.wav)|*.wav|All Files (*.*)|*.*";
    static constexpr const char* kWavDefaultExtension = "*.wav";
    static constexpr const char* kInvalidFile = "Invalid session file.";
    static constexpr const char* kMissingWavQuestion =
        "The WAV file associated to this session can't be found.\n"
        "Perhaps it has been renamed or moved to another folder.\n"
        "Do you want to search for the missing WAV file now?";
    static constexpr const char* kSaveQuestion =
        "The current session has been changed. Do you want to save the changes?";
    static constexpr const char* kCannotCreate = "Can't open session file '%s' for writing.";

    // Without a host, the operations act as in a program with nothing loaded or shown.
    SessionFileOperations(Session& session, UserInterface& ui, SessionHost* host = nullptr);
    SessionFileOperations(const SessionFileOperations&) = delete;
    SessionFileOperations& operator=(const SessionFileOperations&) = delete;

    // Opens `fileName`, or the file the user picks when it is empty. A name that does not
    // exist yet gives an empty session bound to it, which the first save creates. The
    // current session is closed first (it may ask to save; Cancel keeps it).
    void openSession(const std::string& fileName = {});
    // Writes a changed session after letting the user confirm the name; with `askFirst`
    // the save question comes first (No discards the changes in memory).
    SessionOutcome saveSession(bool askFirst);
    // Frees every sequence and both names after the save question. A session without a
    // sequence is left exactly as it is: opening relies on that while it loads the WAV file.
    SessionOutcome closeSession();

    // The name the save dialog starts with: the session's file name, else the file name
    // form of the first sequence's date/time, else empty.
    std::string saveNameProposal() const;

    static std::string readErrorMessage(const std::string& path, int error);
    static std::string writeErrorMessage(const std::string& path, int error);
    static std::string unreadableLinesMessage(const std::string& path, int64_t count);
    static std::string unstorableWavNameMessage(const std::string& wavFileName);

  private:
    bool bindWavFile();
    bool relocateWavFile();
    bool writeUntilDoneOrCancelled(const std::string& path);

    Session& session_;
    UserInterface& ui_;
    SessionHost noHost_;
    SessionHost& host_;

    void rememberFolderOf(SessionFolder kind, const std::string& path);
};

}  // namespace murmelix
