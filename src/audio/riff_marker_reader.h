#pragma once

#include <cstdint>
#include <vector>

#include "audio/cue_point.h"
#include "base/byte_source.h"

namespace murmelix {

// The markers of any file of the RIFF family (RIFF and RIFX WAVE, RF64 and BW64 with the
// true sizes of their ds64 chunk): the cue points of the "cue " chunk, their lengths, labels
// and notes from every associated data list ("LIST" or "list" of type adtl) wherever it
// stands, and region lengths from the loops of a smpl chunk where no ltxt gave one.
//
// The program's own WAV reader walks chunks in the classic order and little-endian only;
// this reader looks at every top-level chunk whatever the order and byte order, because an
// import should keep whatever markers a file has. Texts and lengths go to the first cue
// point with their (non-zero) identifier, as in the WAV reader.
//
// Hostile input is expected: only chunk headers and the few chunks it needs are read, each
// cut to the bytes present and to kMaxChunkSize; nothing is allocated beyond that.
class RiffMarkerReader {
  public:
    static constexpr uint64_t kMaxChunkSize = 16u << 20;

    // Empty when the bytes are no RIFF-family WAVE file or hold no markers.
    // `listInLowercase`, when given, tells whether an associated data list was a "list"
    // chunk, which the program's own WAV reader does not take.
    static std::vector<CuePoint> read(ByteSource& source, bool* listInLowercase = nullptr);
};

}  // namespace murmelix
