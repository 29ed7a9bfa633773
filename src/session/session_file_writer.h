#pragma once

#include <functional>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "session/kept_line.h"
#include "session/sequence.h"

namespace murmelix {

// Writes session files in format version 2: the header line, the WAV file name, then for
// each sequence "[NextSequence]", date/time, question, answer and one line per entry
// ("start length number index " followed by "[FADE]" when faded and the label), with the
// lines the reader kept aside back at their places. Lines end in "\n"; the reader takes
// "\r\n" as well.
class SessionFileWriter {
  public:
    static constexpr std::string_view kHeader =
        "# Murmelix 2.0 session file - do not edit unless you know exactly what you do!";

    enum class Status { Written, CannotCreate, WriteFailed, UnstorableWavName };
    struct Result {
        Status status = Status::Written;
        int error = 0;  // errno of the failing call, 0 when unknown
        bool ok() const { return status == Status::Written; }
    };

    // Produces the file's bytes in pieces of bounded size; stops and returns false as soon
    // as `sink` refuses a piece.
    static bool render(const std::string& wavFileName, const std::list<SEQUENCE>& sequences,
                       const std::vector<KeptLine>& keptLines,
                       const std::function<bool(std::string_view)>& sink);
    static std::string render(const std::string& wavFileName, const std::list<SEQUENCE>& sequences,
                              const std::vector<KeptLine>& keptLines = {});

    // A WAV file name with a line break would come back from the file as another name
    // (the text is one line of the file); such a session is not saved at all.
    static bool storable(const std::string& wavFileName);

    // Replaces `path` with the complete new file, or leaves it as it was.
    static Result save(const std::string& path, const std::string& wavFileName,
                       const std::list<SEQUENCE>& sequences,
                       const std::vector<KeptLine>& keptLines = {});
};

}  // namespace murmelix
