#pragma once

#include <string>

#include "session/sequence.h"

namespace murmelix {

class AudioDocument;
class UserInterface;

// Writes one recorded sequence as a WAV file: its entries back to back (cross-faded where they
// were), each a cue region labelled "Segment n" and noted with where it came from.
class SequenceWavWriter {
  public:
    // 0 written, 1 not (the message has been shown). wavFileName is the session's WAV file,
    // whose name without folder goes into every note.
    static int write(const std::string& path, const SEQUENCE& sequence, const AudioDocument& doc,
                     const std::string& wavFileName, UserInterface& ui);
    // The sequence as it sounded, into a document of the recording's format (entries outside
    // the data left out, as the file leaves them out).
    static void render(const SEQUENCE& sequence, const AudioDocument& doc, AudioDocument& out);
};

}  // namespace murmelix
