#pragma once

#include <cstdint>
#include <vector>

#include "audio/audio_document.h"
#include "base/result.h"
#include "speech/speech_progress.h"

namespace murmelix {

// The short-time level of the mono mix: one RMS value in dB of full scale per `hop` frames
// (the last, shorter block included). Digital silence reads as kSilenceDb.
class LevelMeter {
  public:
    static constexpr float kSilenceDb = -120.0f;

    // Done with `out` filled, or Cancelled when `progress` said stop (`out` is then partial).
    static Result levels(const AudioDocument& doc, int64_t hop, const SpeechProgress& progress,
                         std::vector<float>& out);
};

}  // namespace murmelix
