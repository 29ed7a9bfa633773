#pragma once

#include <string>

#include "base/byte_source.h"

namespace murmelix {

// Files libsndfile must not be given. Its WAV reader (1.2.0, Debian 12's) never returns from a
// file whose LIST chunk, or an entry in it, claims more bytes than there are: such a file would
// freeze the window that asks what it is, and a worker importing it could not be cancelled. They
// are refused here, before libsndfile reads a byte; a truncated data chunk, which recordings that
// were cut short have, stays readable.
class SndfileGuard {
  public:
    // Empty when the file may be opened; else why not, for a message.
    static std::string refusal(ByteSource& source);
};

}  // namespace murmelix
