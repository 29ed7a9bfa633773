#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "audio/cue_point.h"

namespace murmelix {

// Remembered folders a session dialog belongs to (the settings keys of the same name).
enum class SessionFolder { SessionFiles, SourceWavFiles };

// What the session operations need from the program that owns them: its audio document,
// its remembered folders and its view. Program implements it; every method has the
// behaviour of a program with nothing loaded and nothing to show, which is what the tests
// and the command-line tool start from. Called on the UI thread.
class SessionHost {
  public:
    virtual ~SessionHost() = default;

    // File name of the loaded audio document; empty when none is loaded.
    virtual std::string documentFileName() const { return {}; }
    // The loaded document's cue regions, by which the words a sequence played are told; none
    // when nothing is loaded.
    virtual const std::vector<CuePoint>* documentRegions() const { return nullptr; }

    // Loads a WAV file through the audio document's open operation: that closes the
    // current WAV file first (offering to save it, and closing the session, which keeps
    // its names while it holds no sequence) and shows its own errors. True when loaded.
    virtual bool openWavFile(const std::string& wavPath) {
        (void)wavPath;
        return false;
    }

    // Shows the session in the panel / enables the session commands for the current
    // transport state.
    virtual void refreshSessionPanel() {}
    virtual void refreshCommands() {}

    // Folder a dialog of that kind starts in: the remembered one when the separate-folders
    // setting is on, else empty (the dialog's own choice).
    virtual std::string startFolder(SessionFolder kind) const {
        (void)kind;
        return {};
    }
    // A file of that kind was chosen or given by name: `folder` (with its trailing '/',
    // empty for a bare name) becomes that kind's remembered folder.
    virtual void rememberFolder(SessionFolder kind, const std::string& folder) {
        (void)kind;
        (void)folder;
    }

    // The settings a generation starting now is made with, as the render command's options;
    // empty when they are not known.
    virtual std::vector<std::string> generationSettings() const { return {}; }

    // The clock that stamps new sequences.
    virtual std::time_t now() const { return std::time(nullptr); }
};

}  // namespace murmelix
