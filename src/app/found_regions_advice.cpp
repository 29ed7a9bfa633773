#include "app/found_regions_advice.h"

#include <algorithm>

#include "base/text_format.h"
#include "speech/speech_regions.h"

namespace murmelix {

namespace {

constexpr size_t kWordsNamed = 5;

}  // namespace

std::string FoundRegionsAdvice::of(const CueSearch& search, const std::vector<CuePoint>& found) {
    switch (search.kind) {
        case CueSearch::Kind::Pauses:
            return onPauses(search.pauses, found.size());
        case CueSearch::Kind::Words:
            return search.recognition.transcript.empty() ? std::string() : onWords(found);
        case CueSearch::Kind::Phonemes:
            break;
    }
    return {};
}

std::string FoundRegionsAdvice::onPauses(const PauseSettings& settings, size_t found) {
    if (found > 1) {
        return {};
    }
    const std::string threshold =
        settings.thresholdDb
            ? formatText("%.0f dB below the loudest part", *settings.thresholdDb)
            : std::string("below the level chosen from the recording's noise floor");
    return formatText(
        "%s was found: no stretch of the recording at least %d ms long lies %s. A shorter "
        "\"Shortest pause\" or a threshold of fewer dB finds more pauses.",
        found == 0 ? "No region" : "Only one region", settings.minPauseMs, threshold.c_str());
}

std::string FoundRegionsAdvice::onWords(const std::vector<CuePoint>& found) {
    const std::optional<double> overall = SpeechRegions::overallFit(found);
    if (!overall) {
        return {};
    }
    if (*overall < SpeechRegions::kPoorFit) {
        return formatText(
            "The words fit the speech poorly (fit %.2f; read speech that matches its transcript "
            "fits 0.2 or more): check that the transcript is what was said. Synthetic or very "
            "noisy speech can also fit poorly with the right words.",
            *overall);
    }
    std::vector<const CuePoint*> poor;
    for (const CuePoint& word : found) {
        if (SpeechRegions::fitOf(word.note).value_or(1.0) < SpeechRegions::kPoorWordFit) {
            poor.push_back(&word);
        }
    }
    if (poor.empty()) {
        return {};
    }
    std::string named;
    for (size_t i = 0; i < std::min(poor.size(), kWordsNamed); ++i) {
        named += (i == 0 ? "'" : ", '") + poor[i]->label + "'";
    }
    return formatText(
        "%zu of the %zu words fit the speech poorly, so they may not be what was "
        "said there: %s%s.",
        poor.size(), found.size(), named.c_str(), poor.size() > kWordsNamed ? " and more" : "");
}

}  // namespace murmelix
