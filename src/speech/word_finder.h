#pragma once

#include <vector>

#include "audio/audio_document.h"
#include "base/result.h"
#include "speech/frame_span.h"
#include "speech/recognition_settings.h"
#include "speech/speech_progress.h"

namespace murmelix {

// Word and phoneme regions from the recogniser. With a transcript the recording is aligned
// to it (only its words, in its order, can be heard), so every word is found and labelled
// as written; without one the recogniser says what it heard and how sure it is. Borders
// come back at the document's rate, in order, not overlapping.
class WordFinder {
  public:
    static Result words(const AudioDocument& doc, const RecognitionSettings& settings,
                        const SpeechProgress& progress, std::vector<FrameSpan>& out);
    // Labelled with the phone's name; the note names the word when a transcript was given.
    static Result phonemes(const AudioDocument& doc, const RecognitionSettings& settings,
                           const SpeechProgress& progress, std::vector<FrameSpan>& out);
};

}  // namespace murmelix
