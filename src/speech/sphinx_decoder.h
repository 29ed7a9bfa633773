#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "base/result.h"
#include "speech/speech_model.h"
#include "speech/speech_progress.h"

struct ps_decoder_s;
struct cmd_ln_s;

namespace murmelix {

// One PocketSphinx decoder, owned for the length of one search and freed with it. Each
// search has a decoder of its own, so searches on several threads do not meet.
class SphinxDecoder {
  public:
    // What the recogniser heard: a word (or phone) over its frames of 10 ms.
    struct Segment {
        std::string word;  // as the decoder names it; "word(2)" for a second pronunciation
        int firstFrame = 0;
        int endFrame = 0;  // one past the last
        double confidence = 1.0;
        // How well the sound fits what the segment says: the geometric mean over its frames
        // of the acoustic likelihood against that of the best-matching sound in each frame
        // (1: every frame sounds like nothing else; read speech matching its words 0.2-0.4).
        double fit = 1.0;
    };
    static constexpr int kFramesPerSecond = 100;

    ~SphinxDecoder();
    SphinxDecoder(const SphinxDecoder&) = delete;
    SphinxDecoder& operator=(const SphinxDecoder&) = delete;

    // A decoder with the model's acoustic model and dictionary, and for `use` Words its
    // language model, for Phones its phone model. Alignment waits for useGrammar.
    static Result open(const SpeechModel& model, SpeechModel::Use use,
                       std::unique_ptr<SphinxDecoder>& out);

    // Every pronunciation the dictionary gives `word` (phones separated by spaces).
    std::vector<std::string> pronunciations(const std::string& word) const;
    Result addWord(const std::string& word, const std::string& phones, bool last);
    // Only the sentences of this JSGF grammar can be heard.
    Result useGrammar(const std::string& jsgf);

    // Hears the whole document as one utterance.
    Result decode(const AudioDocument& doc, const SpeechProgress& progress,
                  std::vector<Segment>& out);
    // Hears the `frames` document frames from `first` on as an utterance of their own; the
    // segments' frames count from `first`.
    Result decode(const AudioDocument& doc, int64_t first, int64_t frames,
                  const SpeechProgress& progress, std::vector<Segment>& out);

  private:
    static constexpr int kWarmUpSeconds = 30;
    // Document frames heard so far; false stops.
    using Report = std::function<bool(int64_t done)>;

    SphinxDecoder() = default;
    // The `frames` document frames from `first` on as one utterance.
    Result hear(const AudioDocument& doc, int64_t first, int64_t frames, const Report& report);
    // The segments of the last utterance heard.
    void collect(std::vector<Segment>& out);

    ps_decoder_s* decoder_ = nullptr;
    cmd_ln_s* config_ = nullptr;
    bool warmUp_ = true;
    bool grammar_ = false;
};

}  // namespace murmelix
