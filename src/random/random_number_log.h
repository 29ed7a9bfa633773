#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/atomic_file.h"
#include "base/folders.h"
#include "base/user_interface.h"
#include "random/random_source_listener.h"

namespace murmelix {

class RandomSource;

// Writes the log text of every draw to a text file, one line each: the log, which appends
// across generation runs until another file is chosen, and the export, which draws a
// requested count into a new file. As a random source's listener it takes every draw's
// text. UI thread only.
class RandomNumberLog : public RandomSourceListener {
  public:
    enum class ExportOutcome {
        Done,          // every number was written
        NotOpened,     // the file could not be opened and the user cancelled
        SourceFailed,  // the random source failed; the lines so far are kept
        Cancelled,     // the progress callback asked to stop; the lines so far are kept
        WriteFailed,   // the file could not be completed; the old one is left as it was
    };
    struct ExportResult {
        ExportOutcome outcome = ExportOutcome::Done;
        int64_t linesWritten = 0;
    };
    // Told how many numbers are done after each draw; false stops the export.
    using ExportProgress = std::function<bool(int64_t done)>;

    static constexpr int32_t kExportBound = 10;

    // Without folders of the program's, the log keeps its own.
    explicit RandomNumberLog(UserInterface& ui, Folders* folders = nullptr);
    ~RandomNumberLog();
    RandomNumberLog(const RandomNumberLog&) = delete;
    RandomNumberLog& operator=(const RandomNumberLog&) = delete;

    // Logging on and the file ready: the text and a line end go to it.
    void WriteLogLine(std::string_view text);
    void drawLogged(std::string_view text) override { WriteLogLine(text); }
    // Switches logging off, or on after asking for the log file (cancel changes nothing).
    void ToggleRandomLog();
    // At the start of a generation run while logging is on: creates the file anew the first
    // time after it was chosen, appends later. Retry/Cancel on failure; false: cancelled,
    // the run must not start. True without doing anything while logging is off.
    bool OpenLogFile();
    // At the end of a run, and when a failing source stops one. Closing twice is harmless.
    void CloseLogFile();

    // Draws count numbers from source (bound 10) into a new file at path, leaving the
    // logging state as it was. The asking for count and file belongs to the windows.
    ExportResult ExportRandomNumbers(RandomSource& source, int64_t count, const std::string& path,
                                     const ExportProgress& progress = {});
    // The pieces of the export, for callers that draw the numbers themselves.
    bool beginExport(RandomSource& source, const std::string& path);
    void endExport();

    // How the save dialog of the export is to be shown, and the folder it leaves behind.
    FileDialogRequest exportDialogRequest() const;
    void rememberOutputFolder(const std::string& chosenPath);

    bool logging() const { return logging_; }
    void setLogging(bool on) { logging_ = on; }
    const std::string& logFileName() const { return logFileName_; }
    bool startAnew() const { return startAnew_; }
    // As if the file had been chosen in the log dialog.
    void chooseLogFile(const std::string& path);
    bool isOpen() const { return logFile_ != nullptr || exportFile_ != nullptr; }
    int64_t linesWritten() const { return linesWritten_; }
    // A line could not be written; whoever draws for the file stops.
    bool writeFailed() const { return writeFailed_; }

    Folders& folders() { return folders_; }

  private:
    FileDialogRequest dialogRequest(const char* title) const;
    void closeAppendedLog();
    void closeExport();

    UserInterface& ui_;
    bool logging_ = false;
    std::string logFileName_;
    bool startAnew_ = false;
    Folders ownFolders_;
    Folders& folders_;

    std::FILE* logFile_ = nullptr;
    std::unique_ptr<AtomicFile> exportFile_;
    bool exportLogging_ = false;  // logging state before the export took over
    bool writeFailed_ = false;
    int writeError_ = 0;  // the system's reason for the failed write; 0 when unknown
    int64_t linesWritten_ = 0;
};

}  // namespace murmelix
