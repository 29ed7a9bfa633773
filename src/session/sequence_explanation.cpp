#include "session/sequence_explanation.h"

#include "session/played_words.h"

namespace murmelix {

SequenceExplanation SequenceExplanation::of(const SEQUENCE& sequence,
                                            const std::vector<CuePoint>& regions) {
    SequenceExplanation out;
    out.played = PlayedWords::of(sequence, regions);
    if (out.played) {
        std::vector<std::string> labels;
        for (const PlayedWord& word : *out.played) {
            labels.push_back(word.label);
        }
        out.playedScore = AnswerScore::of(sequence.answer, labels);
    }
    return out;
}

}  // namespace murmelix
