#pragma once

#include <list>
#include <string>
#include <vector>

#include "audio/cue_point.h"
#include "base/result.h"
#include "session/sequence.h"

namespace murmelix {

// A session as a table for analysis tools, one row a sequence: when it was made, what was
// asked and answered, what it played and what a recogniser heard in it, and the scores. CSV as
// RFC 4180 has it (UTF-8, CRLF, quoted where needed), which pandas and R read without options.
class SessionTable {
  public:
    // `regions`: the cue regions of the session's recording, by which played words are told.
    static std::string text(const std::list<SEQUENCE>& sequences,
                            const std::vector<CuePoint>& regions);
    // Written atomically: a file of that name stays whole until the new one is.
    static Result write(const std::string& path, const std::list<SEQUENCE>& sequences,
                        const std::vector<CuePoint>& regions);
    // "2024 03 05 14 07 09" as ISO 8601, which analysis tools read as a time; any other text
    // as it stands.
    static std::string isoDateTime(const std::string& stored);
};

}  // namespace murmelix
