#pragma once

#include <vector>

#include "audio/cue_point.h"
#include "base/byte_source.h"

namespace murmelix {

// The markers of an AIFF or AIFF-C file: every MARK marker as a cue point (identifier,
// position, name as label), and the sustain and release loops of the INST chunk as region
// lengths of the marker each starts at. libsndfile's own marker list keeps only part of
// the markers, so the chunks are read here.
//
// Hostile input is expected: only chunk headers and the MARK and INST chunks are read,
// each cut to the bytes present.
class AiffMarkerReader {
  public:
    // Empty when the bytes are no AIFF file or hold no markers.
    static std::vector<CuePoint> read(ByteSource& source);
};

}  // namespace murmelix
