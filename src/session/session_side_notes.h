#pragma once

#include <list>
#include <string>

#include "base/result.h"
#include "session/sequence.h"

namespace murmelix {

// The session's notes that live beside its file (what a recogniser heard in each sequence and
// the settings that made it),
// brought to the sequences when the session is read and back when it is written. Notes are
// only trusted for the recording they were made from and the sequences they were made for.
class SessionSideNotes {
  public:
    // Gives each sequence what the side file of `sessionPath` kept for it. Returns the one
    // warning the person is shown when the file is damaged or its notes belong to another
    // recording or other sequences (those are not used); empty when all is well or when there
    // is no such file.
    static std::string attach(const std::string& sessionPath, const std::string& wavPath,
                              std::list<SEQUENCE>& sequences);
    // Writes the side file for the sequences, atomically. When no sequence has notes nothing
    // is written (a session without them gets no side file, and one whose notes were set
    // aside keeps them on disk). A damaged side file is never written over: what it holds may
    // still be read by hand.
    static Result keep(const std::string& sessionPath, const std::string& wavPath,
                       const std::list<SEQUENCE>& sequences);
    // Whether keep() may write: failed, naming the file, while a damaged one is there.
    static Result canKeep(const std::string& sessionPath);
};

}  // namespace murmelix
