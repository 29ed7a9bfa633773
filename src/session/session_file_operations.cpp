#include "session/session_file_operations.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "base/absolute_path.h"
#include "base/atomic_file.h"
#include "base/input_file.h"
#include "base/path_text.h"
#include "base/text_format.h"
#include "session/session_date_time.h"
#include "session/session_file_reader.h"
#include "session/session_file_writer.h"
#include "session/session_side_notes.h"

namespace murmelix {

namespace {

std::string describeError(int error) {
    return InputFile::describeError(error);
}

}  // namespace

SessionFileOperations::SessionFileOperations(Session& session, UserInterface& ui, SessionHost* host)
    : session_(session), ui_(ui), host_(host != nullptr ? *host : noHost_) {}

void SessionFileOperations::rememberFolderOf(SessionFolder kind, const std::string& path) {
    host_.rememberFolder(kind, PathText::folderPartOf(path));
}

void SessionFileOperations::openSession(const std::string& fileName) {
    std::string name = AbsolutePath::of(fileName);
    if (name.empty()) {
        const auto chosen = ui_.openFileDialog({kOpenTitle, kFilter, kDefaultExtension,
                                                host_.startFolder(SessionFolder::SessionFiles),
                                                std::string(), false});
        if (!chosen || chosen->empty()) {
            return;
        }
        name = AbsolutePath::of(*chosen);
    }
    rememberFolderOf(SessionFolder::SessionFiles, name);
    if (closeSession() == SessionOutcome::Cancelled) {
        return;
    }
    // A session without sequences survives the close; what it had marked changed is not
    // part of the file about to be read.
    session_.changed = false;
    session_.sessionFileName = name;
    session_.keptLines.clear();
    host_.refreshSessionPanel();

    std::string bytes;
    InputFile file;
    if (!file.open(name) || !file.readAll(bytes)) {
        const int error = file.error();
        if (error == ENOENT) {
            host_.refreshCommands();
            return;
        }
        // An existing file that cannot be read must not be bound: the first save would
        // replace it with an empty session.
        session_.sessionFileName.clear();
        host_.refreshSessionPanel();
        ui_.showError(readErrorMessage(name, error));
        return;
    }
    SessionFileContents contents = SessionFileReader::parse(bytes);
    bytes = std::string();
    if (!contents.valid()) {
        session_.sessionFileName.clear();
        host_.refreshSessionPanel();
        ui_.showError(kInvalidFile);
        return;
    }
    session_.wavFileName = contents.wavFileName;
    if (!bindWavFile()) {
        session_.sessionFileName.clear();
        session_.wavFileName.clear();
        host_.refreshSessionPanel();
        return;
    }
    const std::string notesWarning =
        SessionSideNotes::attach(name, session_.wavFileName, contents.sequences);
    session_.assignSequences(std::move(contents.sequences));
    session_.keptLines = std::move(contents.keptLines);
    host_.refreshSessionPanel();
    host_.refreshCommands();
    if (contents.unreadableLines > 0) {
        ui_.showError(unreadableLinesMessage(name, contents.unreadableLines));
    }
    if (!notesWarning.empty()) {
        ui_.messageBox("Warning", notesWarning, MessageIcon::Warning, MessageButtons::Ok);
    }
}

bool SessionFileOperations::bindWavFile() {
    if (host_.documentFileName() == session_.wavFileName) {
        return true;
    }
    if (host_.openWavFile(session_.wavFileName)) {
        return true;
    }
    return relocateWavFile();
}

bool SessionFileOperations::relocateWavFile() {
    if (ui_.messageBox("Problem", kMissingWavQuestion, MessageIcon::Question,
                       MessageButtons::YesNo) != MessageResult::Yes) {
        return false;
    }
    const auto chosen =
        ui_.openFileDialog({kWavOpenTitle, kWavFilter, kWavDefaultExtension,
                            host_.startFolder(SessionFolder::SourceWavFiles), std::string(), true});
    if (!chosen || chosen->empty() || !host_.openWavFile(*chosen)) {
        return false;
    }
    rememberFolderOf(SessionFolder::SourceWavFiles, *chosen);
    session_.wavFileName = *chosen;
    session_.changed = true;
    return true;
}

SessionOutcome SessionFileOperations::saveSession(bool askFirst) {
    if (!session_.changed) {
        return SessionOutcome::Done;
    }
    if (askFirst) {
        const MessageResult answer = ui_.messageBox("Warning", kSaveQuestion, MessageIcon::Question,
                                                    MessageButtons::YesNoCancel);
        if (answer == MessageResult::No) {
            session_.changed = false;
            host_.refreshCommands();
            return SessionOutcome::Done;
        }
        if (answer != MessageResult::Yes) {
            return SessionOutcome::Cancelled;
        }
    }
    const auto chosen = ui_.saveFileDialog({kSaveTitle, kFilter, kDefaultExtension,
                                            host_.startFolder(SessionFolder::SessionFiles),
                                            saveNameProposal(), false, false});
    if (!chosen || chosen->empty()) {
        return SessionOutcome::Cancelled;
    }
    rememberFolderOf(SessionFolder::SessionFiles, *chosen);
    session_.sessionFileName = *chosen;
    if (!writeUntilDoneOrCancelled(*chosen)) {
        host_.refreshSessionPanel();
        return SessionOutcome::Cancelled;
    }
    host_.refreshSessionPanel();
    // The session file is written; notes that could not be kept beside it leave the session
    // changed and stop a close, so that they are never lost quietly.
    if (Result kept = SessionSideNotes::keep(*chosen, session_.wavFileName, session_.sequences());
        !kept.ok()) {
        ui_.showError(kept.message());
        host_.refreshCommands();
        return SessionOutcome::Cancelled;
    }
    session_.changed = false;
    host_.refreshCommands();
    return SessionOutcome::Done;
}

bool SessionFileOperations::writeUntilDoneOrCancelled(const std::string& path) {
    for (;;) {
        const auto result = SessionFileWriter::save(path, session_.wavFileName,
                                                    session_.sequences(), session_.keptLines);
        if (result.ok()) {
            return true;
        }
        if (result.status == SessionFileWriter::Status::UnstorableWavName) {
            ui_.showError(unstorableWavNameMessage(session_.wavFileName));
            return false;
        }
        const std::string text = result.status == SessionFileWriter::Status::CannotCreate
                                     ? formatText(kCannotCreate, path.c_str())
                                     : writeErrorMessage(path, result.error);
        if (ui_.messageBox("Error", text, MessageIcon::Error, MessageButtons::RetryCancel) !=
            MessageResult::Retry) {
            return false;
        }
    }
}

SessionOutcome SessionFileOperations::closeSession() {
    if (session_.empty()) {
        return SessionOutcome::Done;
    }
    if (saveSession(true) == SessionOutcome::Cancelled) {
        return SessionOutcome::Cancelled;
    }
    session_.clearSequences();
    session_.keptLines.clear();
    session_.sessionFileName.clear();
    session_.wavFileName.clear();
    session_.recordMode = false;
    host_.refreshSessionPanel();
    host_.refreshCommands();
    return SessionOutcome::Done;
}

std::string SessionFileOperations::saveNameProposal() const {
    if (!session_.sessionFileName.empty()) {
        return session_.sessionFileName;
    }
    const SEQUENCE* first = session_.first();
    return first != nullptr ? SessionDateTime::fileNameFormOf(first->dateTime) : std::string();
}

std::string SessionFileOperations::readErrorMessage(const std::string& path, int error) {
    return formatText("Can't read session file '%s' (%s).", path.c_str(),
                      describeError(error).c_str());
}

std::string SessionFileOperations::writeErrorMessage(const std::string& path, int error) {
    return formatText(
        "Can't write session file '%s' (%s).\nThe file on disk has been left as it was.",
        path.c_str(), describeError(error).c_str());
}

std::string SessionFileOperations::unreadableLinesMessage(const std::string& path, int64_t count) {
    if (count == 1) {
        return formatText(
            "1 line of session file '%s' could not be read. It is kept as it is "
            "and written back unchanged when the session is saved.",
            path.c_str());
    }
    return formatText(
        "%lld lines of session file '%s' could not be read. They are kept as "
        "they are and written back unchanged when the session is saved.",
        static_cast<long long>(count), path.c_str());
}

std::string SessionFileOperations::unstorableWavNameMessage(const std::string& wavFileName) {
    return formatText(
        "The name of WAV file '%s' holds a line break, which a session file "
        "cannot store. Rename the WAV file to use it in a session.",
        wavFileName.c_str());
}

}  // namespace murmelix
