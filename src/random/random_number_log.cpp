#include "random/random_number_log.h"

#include <cerrno>
#include <cstring>

#include "base/absolute_path.h"
#include "base/path_text.h"
#include "base/text_format.h"
#include "random/random_source.h"

namespace murmelix {

namespace {

constexpr const char* kTextFilter = "Text File (*.txt)|*.txt|All Files (*.*)|*.*";

// `start` names the file with "%s"; the system's reason follows when there is one.
std::string writeErrorMessage(const char* start, const std::string& path, int error) {
    const std::string text = formatText(start, path.c_str());
    return error == 0 ? text + "." : text + " (" + std::strerror(error) + ").";
}

}  // namespace

RandomNumberLog::RandomNumberLog(UserInterface& ui, Folders* folders)
    : ui_(ui), folders_(folders != nullptr ? *folders : ownFolders_) {}

RandomNumberLog::~RandomNumberLog() {
    // No messages from a destructor: the appended lines are kept as far as they got, and
    // an unfinished export leaves the old file in place.
    if (logFile_ != nullptr) {
        std::fclose(logFile_);
    }
}

void RandomNumberLog::WriteLogLine(std::string_view text) {
    // After a failed write the file is incomplete anyway; the close tells why.
    if (!logging_ || !isOpen() || writeFailed_) {
        return;
    }
    // One write per line, with the line end in the same buffer.
    char line[64];
    std::string longLine;
    const char* bytes = line;
    const size_t size = text.size() + 1;
    if (size <= sizeof line) {
        std::memcpy(line, text.data(), text.size());
        line[text.size()] = '\n';
    } else {
        longLine.assign(text).push_back('\n');
        bytes = longLine.data();
    }
    const bool written = exportFile_ ? exportFile_->write(bytes, size)
                                     : std::fwrite(bytes, 1, size, logFile_) == size;
    if (!written) {
        writeFailed_ = true;
        writeError_ = exportFile_ ? exportFile_->error() : errno;
        return;
    }
    ++linesWritten_;
}

void RandomNumberLog::ToggleRandomLog() {
    if (logging_) {
        logging_ = false;
        return;
    }
    const auto chosen = ui_.saveFileDialog(dialogRequest("Log random numbers to file..."));
    if (chosen) {
        chooseLogFile(*chosen);
    }
}

void RandomNumberLog::chooseLogFile(const std::string& name) {
    const std::string path = AbsolutePath::of(name);
    rememberOutputFolder(path);
    logFileName_ = path;
    startAnew_ = true;
    logging_ = true;
}

bool RandomNumberLog::OpenLogFile() {
    if (!logging_ || isOpen()) {
        return true;
    }
    for (;;) {
        logFile_ = std::fopen(logFileName_.c_str(), startAnew_ ? "w" : "a");
        if (logFile_ != nullptr) {
            startAnew_ = false;
            writeFailed_ = false;
            writeError_ = 0;
            linesWritten_ = 0;
            return true;
        }
        const MessageResult answer = ui_.messageBox(
            "Error",
            formatText("Can't open output log file '%s' for writing.", logFileName_.c_str()),
            MessageIcon::Error, MessageButtons::RetryCancel);
        if (answer != MessageResult::Retry) {
            return false;
        }
    }
}

void RandomNumberLog::CloseLogFile() {
    closeExport();
    closeAppendedLog();
}

void RandomNumberLog::closeAppendedLog() {
    if (logFile_ == nullptr) {
        return;
    }
    const bool streamFailed = std::ferror(logFile_) != 0;
    errno = 0;
    const bool closeFailed = std::fclose(logFile_) != 0;
    if (closeFailed && writeError_ == 0) {
        writeError_ = errno;
    }
    logFile_ = nullptr;
    if (writeFailed_ || streamFailed || closeFailed) {
        writeFailed_ = true;
        ui_.showError(
            writeErrorMessage("Can't write output log file '%s'", logFileName_, writeError_));
    }
}

void RandomNumberLog::closeExport() {
    if (!exportFile_) {
        return;
    }
    const bool committed = !writeFailed_ && exportFile_->commit();
    if (!committed && writeError_ == 0) {
        writeError_ = exportFile_->error();
    }
    const std::string path = exportFile_->target();
    exportFile_.reset();  // an uncommitted file goes away, the old one stays
    if (!committed) {
        writeFailed_ = true;
        ui_.showError(writeErrorMessage("Can't write log file '%s'", path, writeError_));
    }
}

bool RandomNumberLog::beginExport(RandomSource& source, const std::string& name) {
    const std::string path = AbsolutePath::of(name);
    auto file = std::make_unique<AtomicFile>(path);
    while (!file->open()) {
        const MessageResult answer = ui_.messageBox(
            "Error", formatText("Can't open log file '%s' for writing.", path.c_str()),
            MessageIcon::Error, MessageButtons::RetryCancel);
        if (answer != MessageResult::Retry) {
            return false;
        }
    }
    exportFile_ = std::move(file);
    exportLogging_ = logging_;
    logging_ = true;
    writeFailed_ = false;
    writeError_ = 0;
    linesWritten_ = 0;
    source.setHalted(false);
    source.DiscardNoise();
    return true;
}

void RandomNumberLog::endExport() {
    logging_ = exportLogging_;
    closeExport();  // already done when a failing source stopped the export
}

RandomNumberLog::ExportResult RandomNumberLog::ExportRandomNumbers(RandomSource& source,
                                                                   int64_t count,
                                                                   const std::string& path,
                                                                   const ExportProgress& progress) {
    ExportResult result;
    if (count < 1) {
        return result;
    }
    if (!beginExport(source, path)) {
        result.outcome = ExportOutcome::NotOpened;
        return result;
    }
    bool cancelled = false;
    // A file that cannot take more lines ends the export at once: the numbers after it
    // would go nowhere.
    for (int64_t done = 0; done < count && !source.halted() && !writeFailed_;) {
        source.NextRandomNumber(kExportBound);
        ++done;
        if (progress && !progress(done)) {
            cancelled = true;
            break;
        }
    }
    const bool sourceFailed = source.halted();
    result.linesWritten = linesWritten_;
    endExport();
    if (writeFailed_) {
        result.outcome = ExportOutcome::WriteFailed;
    } else if (sourceFailed) {
        result.outcome = ExportOutcome::SourceFailed;
    } else if (cancelled) {
        result.outcome = ExportOutcome::Cancelled;
    }
    return result;
}

FileDialogRequest RandomNumberLog::dialogRequest(const char* title) const {
    FileDialogRequest request;
    request.title = title;
    request.filter = kTextFilter;
    request.defaultExtension = "*.txt";
    request.startFolder = folders_.startFolder(Folders::Kind::RandomNumbers);
    return request;
}

FileDialogRequest RandomNumberLog::exportDialogRequest() const {
    return dialogRequest("Write random numbers to file...");
}

void RandomNumberLog::rememberOutputFolder(const std::string& chosenPath) {
    folders_.rememberFolderOf(Folders::Kind::RandomNumbers, chosenPath);
}

}  // namespace murmelix
