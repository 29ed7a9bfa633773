#include "session/session_file_writer.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <utility>

#include "base/atomic_file.h"

namespace murmelix {

namespace {

constexpr size_t kPieceSize = 256 * 1024;

// Every text is one line of the file. A line feed inside one (pasted into an edit, or a
// file name that holds one) would shift every following line on reading, and a carriage
// return at its end would be taken for part of the line end; both are written as spaces.
void appendText(std::string& out, std::string_view text) {
    const size_t from = out.size();
    out.append(text);
    for (size_t i = from; i < out.size(); ++i) {
        if (out[i] == '\n') {
            out[i] = ' ';
        }
    }
    if (out.size() > from && out.back() == '\r') {
        out.back() = ' ';
    }
}

void appendLine(std::string& out, std::string_view text) {
    appendText(out, text);
    out.push_back('\n');
}

void appendNumber(std::string& out, int32_t value) {
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    (void)ec;  // 16 characters always hold a 32-bit number
    out.append(digits, end);
}

// Written back byte for byte. A carriage return at its end was read as part of the line,
// not of the line end; a second one keeps it there.
void appendKeptLine(std::string& out, const KeptLine& line) {
    out.append(line.text);
    if (!line.text.empty() && line.text.back() == '\r') {
        out.push_back('\r');
    }
    out.push_back('\n');
}

void appendEntry(std::string& out, const SEGMENT& entry) {
    appendNumber(out, entry.start);
    out.push_back(' ');
    appendNumber(out, entry.length);
    out.push_back(' ');
    appendNumber(out, entry.number);
    out.push_back(' ');
    appendNumber(out, entry.index);
    out.push_back(' ');
    if (entry.fade) {
        out.append("[FADE]");
    }
    appendLine(out, entry.label);
}

}  // namespace

bool SessionFileWriter::storable(const std::string& wavFileName) {
    return wavFileName.find('\n') == std::string::npos &&
           (wavFileName.empty() || wavFileName.back() != '\r');
}

bool SessionFileWriter::render(const std::string& wavFileName, const std::list<SEQUENCE>& sequences,
                               const std::vector<KeptLine>& keptLines,
                               const std::function<bool(std::string_view)>& sink) {
    // The piece grows to its size as needed: most sessions are far smaller, and reserving
    // the whole piece for each of them costs more than the few copies while it grows.
    std::string piece;
    const auto flushIfFull = [&]() {
        if (piece.size() < kPieceSize) {
            return true;
        }
        const bool accepted = sink(piece);
        piece.clear();
        return accepted;
    };
    auto kept = keptLines.begin();
    const auto appendKeptUpTo = [&](size_t sequence, size_t entry) {
        for (; kept != keptLines.end() &&
               std::pair(kept->sequence, kept->beforeEntry) <= std::pair(sequence, entry);
             ++kept) {
            appendKeptLine(piece, *kept);
        }
    };
    constexpr size_t kAll = SIZE_MAX;
    appendLine(piece, kHeader);
    appendLine(piece, wavFileName);
    appendKeptUpTo(0, kAll);
    size_t started = 0;
    for (const SEQUENCE& sequence : sequences) {
        ++started;
        piece.append("[NextSequence]\n");
        appendLine(piece, sequence.dateTime);
        appendLine(piece, sequence.question);
        appendLine(piece, sequence.answer);
        if (!flushIfFull()) {
            return false;
        }
        for (size_t i = 0; i < sequence.entries.size(); ++i) {
            appendKeptUpTo(started, i);
            appendEntry(piece, sequence.entries[i]);
            if (!flushIfFull()) {
                return false;
            }
        }
        appendKeptUpTo(started, kAll);
    }
    appendKeptUpTo(kAll, kAll);
    return piece.empty() || sink(piece);
}

std::string SessionFileWriter::render(const std::string& wavFileName,
                                      const std::list<SEQUENCE>& sequences,
                                      const std::vector<KeptLine>& keptLines) {
    std::string bytes;
    render(wavFileName, sequences, keptLines, [&bytes](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return bytes;
}

SessionFileWriter::Result SessionFileWriter::save(const std::string& path,
                                                  const std::string& wavFileName,
                                                  const std::list<SEQUENCE>& sequences,
                                                  const std::vector<KeptLine>& keptLines) {
    if (!storable(wavFileName)) {
        return {Status::UnstorableWavName, 0};
    }
    AtomicFile file(path);
    errno = 0;
    if (!file.open()) {
        return {Status::CannotCreate, errno};
    }
    int writeError = 0;
    const bool rendered = render(wavFileName, sequences, keptLines, [&](std::string_view piece) {
        errno = 0;
        if (!file.write(piece.data(), piece.size())) {
            writeError = errno;
            return false;
        }
        return true;
    });
    if (!rendered) {
        return {Status::WriteFailed, writeError};
    }
    errno = 0;
    if (!file.commit()) {
        return {Status::WriteFailed, errno};
    }
    return {};
}

}  // namespace murmelix
