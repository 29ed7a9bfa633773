#include "cli/session_access.h"

#include <filesystem>

#include "base/absolute_path.h"
#include "base/atomic_file.h"
#include "base/input_file.h"
#include "base/text_format.h"
#include "session/session_file_operations.h"
#include "session/session_file_reader.h"
#include "session/session_file_writer.h"
#include "session/session_side_notes.h"

namespace murmelix::cli {

bool readSessionFile(const std::string& path, SessionFileContents& contents, UserInterface& ui) {
    std::string bytes;
    InputFile file;
    if (!file.open(path) || !file.readAll(bytes)) {
        ui.showError(SessionFileOperations::readErrorMessage(AbsolutePath::of(path), file.error()));
        return false;
    }
    contents = SessionFileReader::parse(bytes);
    if (!contents.valid()) {
        ui.showError(SessionFileOperations::kInvalidFile);
        return false;
    }
    if (contents.unreadableLines > 0) {
        ui.showError(SessionFileOperations::unreadableLinesMessage(AbsolutePath::of(path),
                                                                   contents.unreadableLines));
    }
    const std::string warning =
        SessionSideNotes::attach(AbsolutePath::of(path), contents.wavFileName, contents.sequences);
    if (!warning.empty()) {
        ui.messageBox("Warning", warning, MessageIcon::Warning, MessageButtons::Ok);
    }
    return true;
}

bool saveSessionFile(const std::string& path, const SessionFileContents& contents,
                     UserInterface& ui) {
    const auto result =
        SessionFileWriter::save(path, contents.wavFileName, contents.sequences, contents.keptLines);
    if (result.ok()) {
        const Result kept = SessionSideNotes::keep(AbsolutePath::of(path), contents.wavFileName,
                                                   contents.sequences);
        if (!kept.ok()) {
            ui.showError(kept.message());
        }
        return kept.ok();
    }
    if (result.status == SessionFileWriter::Status::UnstorableWavName) {
        ui.showError(SessionFileOperations::unstorableWavNameMessage(contents.wavFileName));
    } else if (result.status == SessionFileWriter::Status::CannotCreate) {
        ui.showError(formatText(SessionFileOperations::kCannotCreate, path.c_str()));
    } else {
        ui.showError(SessionFileOperations::writeErrorMessage(path, result.error));
    }
    return false;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code errorA;
    std::error_code errorB;
    const auto canonicalA = std::filesystem::weakly_canonical(a, errorA);
    const auto canonicalB = std::filesystem::weakly_canonical(b, errorB);
    if (errorA || errorB) {
        return AbsolutePath::of(a) == AbsolutePath::of(b);
    }
    return canonicalA == canonicalB;
}

}  // namespace murmelix::cli
