#pragma once

#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "base/result.h"
#include "session/machine_word.h"
#include "session/sequence.h"
#include "speech/speech_progress.h"

namespace murmelix {

// What a recogniser that knows nothing of the source hears in a sequence as it sounded (its
// entries played back to back from the recording, cross-fades included): free recognition,
// as the speech search without a transcript does it. A pure function of its inputs, for a
// worker thread; `modelDir` empty for the installed model.
class SequenceTranscriber {
  public:
    static Result transcribe(const SEQUENCE& sequence, const AudioDocument& recording,
                             const std::string& modelDir, const SpeechProgress& progress,
                             std::vector<MachineWord>& out);
};

}  // namespace murmelix
