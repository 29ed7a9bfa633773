#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "base/path_text.h"

namespace murmelix {

// Remembered folders a session dialog belongs to (the settings keys of the same name).
enum class SessionFolder { SessionFiles, SourceWavFiles };

// What the session operations need from the rest of the program. Program fills these in
// when it wires the session up; an empty hook acts as noted, which is also what the tests
// and the command-line tool rely on. All are called on the UI thread.
struct SessionHooks {
    // File name of the loaded audio document; empty when none is loaded.
    // Empty hook: no document.
    std::function<std::string()> documentFileName;

    // Loads a WAV file through the audio document's open operation: that closes the
    // current WAV file first (offering to save it, and closing the session, which keeps
    // its names while it holds no sequence) and shows its own errors. Returns 0 when the
    // file is loaded, 1 when not. Empty hook: nothing can be loaded (1).
    std::function<int(const std::string& wavPath)> openWavFile;

    // Shows the session in the panel / enables the session commands for the current
    // transport state. Empty hooks: nothing to show.
    std::function<void()> refreshPanel;
    std::function<void()> refreshControls;

    // The one-line text dialog: prompt and preset text; nothing when the user cancelled.
    // Empty hook: cancelled.
    std::function<std::optional<std::string>(const std::string& prompt, const std::string& text)>
        editText;

    // Folder a dialog of that kind starts in: the remembered one when the separate-folders
    // setting is on, else empty (the dialog's own choice). Empty hook: empty.
    std::function<std::string(SessionFolder)> startFolder;
    // A file of that kind was chosen or given by name: `folder` (with its trailing '/',
    // empty for a bare name) becomes that kind's remembered folder. Empty hook: forgotten.
    std::function<void(SessionFolder, const std::string& folder)> rememberFolder;

    // The clock that stamps new sequences. Empty hook: the system clock.
    std::function<std::time_t()> now;

    // Calls that stand in for an empty hook as documented above.
    std::string callDocumentFileName() const {
        return documentFileName ? documentFileName() : std::string();
    }
    int callOpenWavFile(const std::string& wavPath) const {
        return openWavFile ? openWavFile(wavPath) : 1;
    }
    void callRefreshPanel() const {
        if (refreshPanel) {
            refreshPanel();
        }
    }
    void callRefreshControls() const {
        if (refreshControls) {
            refreshControls();
        }
    }
    std::optional<std::string> callEditText(const std::string& prompt,
                                            const std::string& text) const {
        return editText ? editText(prompt, text) : std::nullopt;
    }
    std::string callStartFolder(SessionFolder kind) const {
        return startFolder ? startFolder(kind) : std::string();
    }
    // Takes the folder part of a chosen file's path.
    void callRememberFolderOf(SessionFolder kind, const std::string& path) const {
        if (rememberFolder) {
            rememberFolder(kind, PathText::folderPartOf(path));
        }
    }
    std::time_t callNow() const { return now ? now() : std::time(nullptr); }
};

}  // namespace murmelix
