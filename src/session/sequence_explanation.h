#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audio/cue_point.h"
#include "session/answer_score.h"
#include "session/played_word.h"
#include "session/played_words.h"
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
    // The answer against the words a recogniser heard; none without an answer or before the
    // sequence was transcribed.
    std::optional<AnswerScore> machineScore;

    static SequenceExplanation of(const SEQUENCE& sequence, const PlayedWords& words);
    static SequenceExplanation of(const SEQUENCE& sequence, const std::vector<CuePoint>& regions) {
        return of(sequence, PlayedWords(regions));
    }

    // For people, as (caption, text) lines: the played words (or, without them, why not in
    // brackets), their score, the words heard with their confidence and their score.
    using Line = std::pair<std::string, std::string>;
    std::vector<Line> lines(const SEQUENCE& sequence, const std::string& noPlayedWords) const;
};

}  // namespace murmelix
