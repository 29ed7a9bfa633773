#pragma once

#include <cstdint>

#include "audio/audio_document.h"

namespace murmelix {

// The document's channels mixed to one, as floats of full scale 1.0 whatever the sample
// width: what the level meter and the recogniser hear.
class MonoSamples {
  public:
    // Frames [first, first + count) into `out`; the caller keeps the range inside the data.
    static void read(const AudioDocument& doc, int64_t first, int64_t count, float* out);
};

}  // namespace murmelix
