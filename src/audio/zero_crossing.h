#pragma once

#include <cstdint>

#include "audio/audio_document.h"

namespace murmelix {

// Segment and region borders on rising zero crossings do not click when played on their
// own: the first frame from `first` on whose left-channel
// sample is >= 0 after one <= 0; `first` itself when the data ends without one.
class ZeroCrossing {
  public:
    static int64_t next(const AudioDocument& doc, int64_t first);
};

}  // namespace murmelix
