#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "session/session_file_contents.h"

namespace murmelix {

// Parses the text of a session file (versions 1 and 2). Works on the bytes alone so that
// any input, however damaged, can be handed to it: it never fails on content; what it
// cannot use it keeps aside, with its place, for the writer.
//
// Lines end in "\n" or "\r\n" and are read whole, whatever their length. Line 1 selects
// the version, line 2 is the WAV file name; a line that is exactly "[NextSequence]" starts
// a sequence whose next three lines are taken whole as date/time, question and answer;
// every other line is an entry of the last sequence started.
class SessionFileReader {
  public:
    static constexpr std::string_view kHeaderVersion1 = "# Murmelix 1.0 session file";
    static constexpr std::string_view kHeaderVersion2 = "# Murmelix 2.0 session file";
    static constexpr std::string_view kSequenceMarker = "[NextSequence]";
    static constexpr std::string_view kFadeMark = "[FADE]";

    static SessionFileContents parse(std::string_view bytes);
    static SessionFileContents parse(std::span<const uint8_t> bytes);

    // 1 or 2 for a known first line (only its first 27 characters count), else 0.
    static int versionOf(std::string_view firstLine);

    // Reads one entry line; false when the line is no entry of that version.
    static bool parseEntry(std::string_view line, int version, SEGMENT& entry);
};

}  // namespace murmelix
