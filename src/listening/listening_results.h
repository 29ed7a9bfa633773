#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "listening/listening_clip.h"

namespace murmelix {

// What the listeners' answers show, clip by clip and for sequences against controls.
//
// Measures (all over answer words in lower case, punctuation left off, see AnswerScore):
// - overlap of two answers: shared words over the words of either (Jaccard), 0 to 1; an
//   answer of "nothing" has no words, so it shares none;
// - a clip's agreement: the mean overlap over every pair of its listeners (needs two);
// - a clip counts as agreed on when at least half of its pairs share a word;
// - heard anything: the share of its answers that are not "nothing" (or empty);
// - agreement with the played (or heard) words: the mean over its answers of the share of
//   answer words among those words.
struct ListeningResults {
    struct Answer {
        std::string listener;
        std::string text;  // as typed
        bool operator==(const Answer&) const = default;
    };
    struct Clip {
        ListeningClip clip;
        std::vector<Answer> answers;  // in listener order
        double heardAnything = 0.0;
        std::optional<double> agreement;  // none with fewer than two answers
        bool agreed = false;
        std::optional<double> playedAgreement;
        std::optional<double> machineAgreement;
        std::vector<float> peaks;  // the clip's loudness for its picture, 0 to 1, left to right
    };
    struct Group {
        ListeningClip::Kind kind = ListeningClip::Kind::Sequence;
        int clips = 0;
        int agreed = 0;
        std::optional<double> meanAgreement;
        std::optional<double> meanHeardAnything;
        std::optional<double> meanPlayedAgreement;
        std::optional<double> meanMachineAgreement;
    };
    // Whether sequences and controls differ in agreement more than chance would make them: the
    // difference of the groups' mean agreement, and the share of relabellings of the clips
    // (every one when there are few, else a seeded sample) whose difference is at least as
    // large either way.
    struct Comparison {
        double difference = 0.0;  // sequences minus controls
        double pValue = 1.0;
        int relabellings = 0;
        bool exact = false;
    };

    std::vector<std::string> listeners;
    std::vector<Clip> clips;    // in the test's order
    std::vector<Group> groups;  // those with clips: sequences, controls, reversed
    std::optional<Comparison> sequencesAgainstControls;
    std::string summary;  // in plain words
};

}  // namespace murmelix
