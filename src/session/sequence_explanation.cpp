#include "session/sequence_explanation.h"

#include "base/text_format.h"

namespace murmelix {

namespace {

std::string scoreText(const AnswerScore& score, const char* against) {
    std::string text =
        formatText("%zu of %zu answer words among the %s", score.found, score.answerWords, against);
    if (score.wordErrorRate) {
        text += formatText(", word error rate %.2f", *score.wordErrorRate);
    }
    return text;
}

}  // namespace

SequenceExplanation SequenceExplanation::of(const SEQUENCE& sequence, const PlayedWords& words) {
    SequenceExplanation out;
    out.played = words.of(sequence);
    if (out.played) {
        std::vector<std::string> labels;
        for (const PlayedWord& word : *out.played) {
            labels.push_back(word.label);
        }
        out.playedScore = AnswerScore::of(sequence.answer, labels);
    }
    if (sequence.machineWords) {
        std::vector<std::string> heard;
        for (const MachineWord& word : *sequence.machineWords) {
            heard.push_back(word.word);
        }
        out.machineScore = AnswerScore::of(sequence.answer, heard);
    }
    return out;
}

std::vector<SequenceExplanation::Line> SequenceExplanation::lines(
    const SEQUENCE& sequence, const std::string& noPlayedWords) const {
    std::vector<Line> out;
    if (!played) {
        out.emplace_back("Played", "(" + noPlayedWords + ")");
    } else {
        out.emplace_back("Played", played->empty() ? "(nothing)" : PlayedWords::text(*played));
    }
    if (playedScore) {
        out.emplace_back("Score", scoreText(*playedScore, "played words"));
    }
    if (!sequence.machineWords) {
        return out;
    }
    std::string heard;
    for (const MachineWord& word : *sequence.machineWords) {
        heard +=
            formatText("%s%s (%.2f)", heard.empty() ? "" : " ", word.word.c_str(), word.confidence);
    }
    out.emplace_back("Heard", heard.empty() ? "(nothing)" : heard);
    if (machineScore) {
        out.emplace_back("Score", scoreText(*machineScore, "words heard"));
    }
    return out;
}

}  // namespace murmelix
