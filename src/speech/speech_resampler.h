#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/audio_document.h"
#include "base/result.h"

struct SRC_STATE_tag;

namespace murmelix {

// The document as the recogniser hears it: mono, 16-bit, kRate, handed out block by block
// so that a long recording is never converted whole.
class SpeechResampler {
  public:
    static constexpr int kRate = 16000;
    static constexpr int64_t kBlockFrames = 4096;

    // The `frames` frames of `doc` from `first` on.
    SpeechResampler(const AudioDocument& doc, int64_t first, int64_t frames);
    ~SpeechResampler();
    SpeechResampler(const SpeechResampler&) = delete;
    SpeechResampler& operator=(const SpeechResampler&) = delete;

    // The next block of converted samples into `out` (cleared first); false at the end.
    // Fails when the converter does.
    Result next(std::vector<int16_t>& out, bool& more);
    // Document frames consumed so far, from `first` on.
    int64_t done() const { return done_; }

  private:
    const AudioDocument& doc_;
    int64_t first_;
    int64_t frames_;
    SRC_STATE_tag* state_ = nullptr;
    double ratio_ = 1.0;
    int64_t done_ = 0;
    std::vector<float> in_;
    std::vector<float> converted_;
};

}  // namespace murmelix
