#pragma once

// Word and phone borders that another aligner gave for a recording, and how near the regions
// we find come to them. Shared by the speech tests and the alignment quality benchmark.

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "audio/cue_point.h"

namespace murmelix::testing {

// A word or phone over [start, end) seconds.
struct TimedUnit {
    std::string label;
    double start = 0.0;
    double end = 0.0;
};

// Borders near the reference out of all the reference's borders (two per unit).
struct BorderAgreement {
    int near = 0;
    int total = 0;
    double share() const { return total == 0 ? 0.0 : static_cast<double>(near) / total; }
    BorderAgreement& operator+=(const BorderAgreement& other) {
        near += other.near;
        total += other.total;
        return *this;
    }
};

inline bool isSilence(const std::string& label) {
    return label.empty() || label.front() == '<' || label == "SIL";
}

// "was(2)" -> "was": the reference names a second pronunciation.
inline std::string plainWord(const std::string& label) {
    return label.substr(0, label.find('('));
}

inline TimedUnit unitOf(const nlohmann::json& item) {
    const double start = item.at("b").get<double>();
    return {plainWord(item.at("t").get<std::string>()), start, start + item.at("d").get<double>()};
}

// The reference's words (silences left out), each with its phones.
struct ReferenceWord {
    TimedUnit word;
    std::vector<TimedUnit> phones;
};

// The same words `seconds` later, as in a recording with that much more before the speech.
inline std::vector<ReferenceWord> shifted(std::vector<ReferenceWord> words, double seconds) {
    const auto later = [seconds](TimedUnit& unit) {
        unit.start += seconds;
        unit.end += seconds;
    };
    for (ReferenceWord& word : words) {
        later(word.word);
        std::for_each(word.phones.begin(), word.phones.end(), later);
    }
    return words;
}

inline std::vector<ReferenceWord> referenceWords(const std::string& wordFile,
                                                 const std::string& phoneFile) {
    std::vector<ReferenceWord> out;
    const auto wordsJson = nlohmann::json::parse(std::ifstream(wordFile));
    for (const auto& item : wordsJson.at("w")) {
        if (!isSilence(item.at("t").get<std::string>())) {
            out.push_back({unitOf(item), {}});
        }
    }
    size_t next = 0;
    const auto phonesJson = nlohmann::json::parse(std::ifstream(phoneFile));
    for (const auto& item : phonesJson.at("w")) {
        if (isSilence(item.at("t").get<std::string>()) || next >= out.size()) {
            continue;
        }
        for (const auto& phone : item.at("w")) {
            out[next].phones.push_back(unitOf(phone));
        }
        ++next;
    }
    return out;
}

inline std::vector<TimedUnit> timed(const std::vector<CuePoint>& cues, int rate) {
    std::vector<TimedUnit> out;
    for (const CuePoint& cue : cues) {
        out.push_back({cue.label, static_cast<double>(cue.position) / rate,
                       static_cast<double>(int64_t{cue.position} + cue.length) / rate});
    }
    return out;
}

// Units paired in order; a border counts when within `tolerance` seconds. Units past the
// shorter list are all missed.
inline BorderAgreement agreement(const std::vector<TimedUnit>& found,
                                 const std::vector<TimedUnit>& truth, double tolerance) {
    BorderAgreement out;
    out.total = static_cast<int>(2 * truth.size());
    for (size_t i = 0; i < std::min(found.size(), truth.size()); ++i) {
        out.near += (std::abs(found[i].start - truth[i].start) <= tolerance) +
                    (std::abs(found[i].end - truth[i].end) <= tolerance);
    }
    return out;
}

// Phone borders word by word: the phones of a word are compared where both aligners chose
// a pronunciation with as many phones (the cue's note names its word).
inline BorderAgreement phoneAgreement(const std::vector<CuePoint>& found, int rate,
                                      const std::vector<ReferenceWord>& truth, double tolerance) {
    // A word's phones share its note; two equal words in a row part at the reference's
    // phone count.
    std::vector<std::vector<CuePoint>> byWord;
    for (const CuePoint& cue : found) {
        const size_t index = byWord.size() - 1;
        const bool sameWord = !byWord.empty() && byWord.back().front().note == cue.note &&
                              index < truth.size() &&
                              byWord.back().size() < truth[index].phones.size();
        if (sameWord) {
            byWord.back().push_back(cue);
        } else {
            byWord.push_back({cue});
        }
    }
    BorderAgreement out;
    for (size_t w = 0; w < truth.size(); ++w) {
        const auto& phones = truth[w].phones;
        if (w < byWord.size() && byWord[w].size() == phones.size()) {
            out += agreement(timed(byWord[w], rate), phones, tolerance);
        } else {
            out.total += static_cast<int>(2 * phones.size());
        }
    }
    return out;
}

// How many of `truth` lie at least half under `found`: a recogniser may hear a stop's
// closure inside a word as a pause, which leaves the word found.
inline int coveredWords(const std::vector<TimedUnit>& found, const std::vector<TimedUnit>& truth) {
    int covered = 0;
    for (const TimedUnit& word : truth) {
        double over = 0.0;
        for (const TimedUnit& f : found) {
            over += std::max(0.0, std::min(word.end, f.end) - std::max(word.start, f.start));
        }
        covered += over >= (word.end - word.start) / 2;
    }
    return covered;
}

}  // namespace murmelix::testing
