#pragma once

#include "speech/pause_settings.h"
#include "speech/recognition_settings.h"

namespace murmelix {

// What the person asked to find in the recording: the stretches between pauses, the words
// or the phonemes, with the settings of that kind.
struct CueSearch {
    enum class Kind { Pauses, Words, Phonemes };
    Kind kind = Kind::Pauses;
    PauseSettings pauses;
    RecognitionSettings recognition;
};

}  // namespace murmelix
