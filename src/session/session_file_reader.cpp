#include "session/session_file_reader.h"

#include <cstring>
#include <string>

#include "session/scan_integer.h"

namespace murmelix {

namespace {

// Takes the next line off `rest`; its "\n" or "\r\n" is not part of it. A last line
// without a line end still counts; nothing after the final line end is a line.
bool nextLine(std::string_view& rest, std::string_view& line) {
    if (rest.empty()) {
        return false;
    }
    const void* found = std::memchr(rest.data(), '\n', rest.size());
    if (found == nullptr) {
        line = rest;
        rest = {};
        return true;
    }
    const size_t end = static_cast<size_t>(static_cast<const char*>(found) - rest.data());
    line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return true;
}

// The three lines after a sequence marker are texts, taken whole; a file that ends early
// leaves the missing ones empty.
void readSequenceHeader(std::string_view& rest, SEQUENCE& sequence) {
    std::string* const texts[] = {&sequence.dateTime, &sequence.question, &sequence.answer};
    std::string_view line;
    for (std::string* text : texts) {
        if (!nextLine(rest, line)) {
            return;
        }
        text->assign(line);
    }
}

}  // namespace

int SessionFileReader::versionOf(std::string_view firstLine) {
    const std::string_view head = firstLine.substr(0, kHeaderVersion2.size());
    if (head == kHeaderVersion2) {
        return 2;
    }
    if (head == kHeaderVersion1) {
        return 1;
    }
    return 0;
}

bool SessionFileReader::parseEntry(std::string_view line, int version, SEGMENT& entry) {
    const int fields = version == 1 ? 3 : 4;
    int32_t values[4] = {0, 0, 0, -1};
    std::string_view numbers = line;
    if (!scanIntegers(numbers, values, fields)) {
        return false;
    }
    // The label field follows the space after the last number; the search for spaces
    // starts at the second character, as the files have always been read.
    int spaces = 0;
    size_t at = 1;
    while (spaces < fields) {
        const size_t space = line.find(' ', at);
        if (space == std::string_view::npos) {
            break;
        }
        ++spaces;
        at = space + 1;
    }
    if (spaces < fields - 1) {
        return false;
    }
    entry.start = values[0];
    entry.length = values[1];
    entry.number = values[2];
    entry.index = values[3];
    entry.fade = false;
    entry.label.clear();
    if (spaces == fields) {
        std::string_view field = line.substr(at);
        if (field.substr(0, kFadeMark.size()) == kFadeMark) {
            entry.fade = true;
            field.remove_prefix(kFadeMark.size());
        }
        entry.label.assign(field);
    }
    return true;
}

SessionFileContents SessionFileReader::parse(std::string_view bytes) {
    SessionFileContents contents;
    std::string_view rest = bytes;
    std::string_view line;
    if (!nextLine(rest, line)) {
        return contents;
    }
    contents.version = versionOf(line);
    if (!contents.valid() || !nextLine(rest, line)) {
        return contents;
    }
    contents.wavFileName.assign(line);
    SEQUENCE* sequence = nullptr;
    SEGMENT entry;
    while (nextLine(rest, line)) {
        if (line == kSequenceMarker) {
            sequence = &contents.sequences.emplace_back();
            readSequenceHeader(rest, *sequence);
            continue;
        }
        if (sequence == nullptr || !parseEntry(line, contents.version, entry)) {
            contents.keptLines.push_back({contents.sequences.size(),
                                          sequence == nullptr ? 0 : sequence->entries.size(),
                                          std::string(line)});
            ++contents.unreadableLines;
            continue;
        }
        sequence->entries.push_back(entry);
    }
    return contents;
}

SessionFileContents SessionFileReader::parse(std::span<const uint8_t> bytes) {
    return parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace murmelix
