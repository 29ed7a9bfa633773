#pragma once

#include <optional>
#include <string>
#include <vector>

#include "audio/cue_point.h"
#include "session/answer_score.h"
#include "session/played_word.h"
#include "session/sequence.h"

namespace murmelix {

// What a sequence carried and how close its answer came, derived on demand from its entries
// and the cue regions of the session's recording (nothing of it is stored).
struct SequenceExplanation {
    // None when the recording has nothing to tell the words by.
    std::optional<std::vector<PlayedWord>> played;
    // The answer against the played words (parts count with their whole word); none without
    // an answer or played words.
    std::optional<AnswerScore> playedScore;

    static SequenceExplanation of(const SEQUENCE& sequence, const std::vector<CuePoint>& regions);
};

}  // namespace murmelix
