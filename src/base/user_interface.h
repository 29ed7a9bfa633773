#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace murmelix {

enum class MessageIcon { None, Error, Warning, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageResult { Ok, Cancel, Yes, No, Retry };

// What a file dialog is asked to show. The filter uses the "Text|*.ext|Text|*.*" form.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultExtension;
    std::string startFolder;
    std::string presetName;
    bool mustExist = false;
    // Save dialogs: ask before replacing an existing file. Session files are saved over
    // themselves as a matter of course, so their dialog does not ask.
    bool confirmOverwrite = true;
    // When set, receives which of the filter's types the person chose (0 the first): a save
    // dialog whose types are file formats writes the one chosen.
    int* chosenFilter = nullptr;
};

// The choices of the recording parameters dialog, as its controls hold them.
struct RecordingParameters {
    std::string sampleRateText = "22050";
    int channelsIndex = 0;    // 0 mono, 1 stereo
    int resolutionIndex = 1;  // 0 8 bit, 1 16 bit
    bool normalize = true;
};

// The two fields of the fractal formula dialog as typed (the growth constant r and the
// initial population x).
struct FractalFieldTexts {
    std::string growthConstant;
    std::string initPopulation;
};

// Everything the core needs from the person in front of the program. The desktop window
// implements it with real dialogs, the command-line tool with stderr and fixed answers,
// and tests with scripted answers. Called on the UI thread only.
class UserInterface {
  public:
    virtual ~UserInterface() = default;

    virtual MessageResult messageBox(const std::string& caption, const std::string& text,
                                     MessageIcon icon, MessageButtons buttons) = 0;

    // Empty result: the user cancelled.
    virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;

    // The main window's caption, which long operations replace for their duration.
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& text) = 0;

    // Lets the window repaint during an operation that holds the UI thread.
    virtual void processEvents() {}

    // The application's title (the task bar's text); the window caption follows it in
    // long operations.
    virtual void setApplicationTitle(const std::string& text) { (void)text; }
    // The three panels of the status bar, 0 to 2.
    virtual void setStatusText(int panel, const std::string& text) {
        (void)panel;
        (void)text;
    }

    // The recording parameters dialog, preset with `parameters`; false when cancelled.
    virtual bool askRecordingParameters(RecordingParameters& parameters) {
        (void)parameters;
        return false;
    }

    // The one-line text dialog (the session's question and answer), preset with `text`;
    // nothing when cancelled.
    virtual std::optional<std::string> askText(const std::string& prompt, const std::string& text) {
        (void)prompt;
        (void)text;
        return std::nullopt;
    }
    // The fractal formula dialog: its two fields on OK, nothing when cancelled. Where nobody
    // can answer, the formula is taken as it stands: two empty fields, which change nothing.
    virtual std::optional<FractalFieldTexts> askFractalFormula() { return FractalFieldTexts{}; }

    // The echo dialog, preset with the current parameters; false when cancelled.
    virtual bool askEchoParameters(int& delayMs, int& decayPercent) {
        (void)delayMs;
        (void)decayPercent;
        return false;
    }
    // The count dialog of the random-number export, preset with `count`; false when
    // cancelled.
    virtual bool askWriteCount(int& count) {
        (void)count;
        return false;
    }
    // Progress of a long operation on the UI thread: `done` of `total` steps; false when the
    // person asked to stop. Called with done == total once at the end.
    virtual bool showProgress(const std::string& text, int64_t done, int64_t total) {
        (void)text;
        (void)done;
        (void)total;
        return true;
    }

    void showError(const std::string& text) {
        messageBox("Error", text, MessageIcon::Error, MessageButtons::Ok);
    }
};

}  // namespace murmelix
