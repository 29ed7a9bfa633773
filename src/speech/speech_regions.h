#pragma once

#include <optional>
#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "audio/cue_point.h"
#include "base/result.h"
#include "speech/pause_settings.h"
#include "speech/recognition_settings.h"
#include "speech/speech_progress.h"

namespace murmelix {

// Cue regions found in speech: the stretches between pauses (any language, no model), the
// words, or the phonemes (PocketSphinx with its US English model).
//
// Each entry point is a pure function of its inputs: it reads the document, calls nothing
// but `progress` and touches no program state, so it runs on a worker thread (say in a
// BackgroundTask, reporting through `task.report` and stopping on `task.cancelled()`)
// while the UI thread keeps the document unchanged. `out` gets the regions in order, not
// overlapping, with identifiers 1, 2, ... (CueIdentifiers::merged renumbers them when they
// are added to an existing table); it is left as it was unless the result is Done.
// Cancelled when `progress` said stop; Failed with a message for the person (a missing
// model says how to install it).
class SpeechRegions {
  public:
    // Labelled 1, 2, ..., or with the transcript's words when there are as many regions.
    static Result findPauses(const AudioDocument& doc, const PauseSettings& settings,
                             const SpeechProgress& progress, std::vector<CuePoint>& out);
    // Labelled with the words; the note holds how well each word's sound fits it when
    // aligned to a transcript ("fit 0.31", see fitNote), the recogniser's confidence when no
    // transcript was given ("confidence 0.85").
    static Result findWords(const AudioDocument& doc, const RecognitionSettings& settings,
                            const SpeechProgress& progress, std::vector<CuePoint>& out);
    // Labelled with the phones (ARPAbet, or IPA); with a transcript the note names the word
    // and the labels of a word spell its pronunciation in the model's dictionary.
    static Result findPhonemes(const AudioDocument& doc, const RecognitionSettings& settings,
                               const SpeechProgress& progress, std::vector<CuePoint>& out);

    // Below this fit a word's sound is unlike what the transcript says it is: read speech
    // that matches its words fits 0.2-0.4, a wrong transcript on it below 0.02; synthetic
    // or very noisy speech can fit poorly with the right words.
    static constexpr double kPoorFit = 0.05;
    // A single short word varies more: it counts as unlike its sound only below this.
    static constexpr double kPoorWordFit = 0.02;
    static std::string fitNote(double fit);
    // The fit a word's note gives; none for other notes.
    static std::optional<double> fitOf(const std::string& note);
    // The confidence a heard word's note gives; none for other notes.
    static std::optional<double> confidenceOf(const std::string& note);
    // The fit of all the words over their lengths, when they are notes of fits.
    static std::optional<double> overallFit(const std::vector<CuePoint>& words);

    // The level curve's block: 10 ms, at least one frame.
    static int64_t blockFrames(const AudioDocument& doc);
};

}  // namespace murmelix
