#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "audio/audio_document.h"
#include "base/byte_source.h"
#include "base/user_interface.h"

namespace murmelix {

// Loads a PCM WAV file with its cue list and cue texts into the audio document.
//
// Closing the previous document (with its save question) and refreshing the windows
// afterwards belong to the caller. Both entries give 0 when the document was loaded and 1
// when it was not; every failure has then been shown through ui, and the document is
// empty. Problems with the cue list alone never stop a load: the document loads without
// cue points.
//
// Hostile files are expected: every size is checked against the bytes really present, a
// data chunk that declares more bytes than the file holds loads the bytes present, and the
// cue table never holds more entries than the cue chunk has room for. Sample data beyond
// what a document holds (its sizes are 32-bit signed) is cut to whole frames, with a
// warning. Files are read piece by piece, never mapped: a file that shrinks or vanishes
// while it loads gives a message, and only regular files are opened.
class WavReader {
  public:
    static constexpr size_t kMaxDataSize = INT32_MAX;

    static int readFile(const std::string& path, AudioDocument& doc, UserInterface& ui);
    static int readBytes(std::span<const uint8_t> bytes, const std::string& name,
                         AudioDocument& doc, UserInterface& ui);
    // maxDataSize below kMaxDataSize lets the cut be tried on small files.
    static int readSource(ByteSource& source, const std::string& name, AudioDocument& doc,
                          UserInterface& ui, size_t maxDataSize = kMaxDataSize);

  private:
    static int refuseUnreadable(const ByteSource& source, const std::string& name,
                                AudioDocument& doc, UserInterface& ui);
};

}  // namespace murmelix
