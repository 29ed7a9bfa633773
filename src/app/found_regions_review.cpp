#include "app/found_regions_review.h"

#include <cstdio>
#include <utility>

#include "app/found_regions_advice.h"
#include "speech/speech_regions.h"

namespace murmelix {

void FoundRegionsReview::open(const CueSearch& search, std::vector<CuePoint> found,
                              uint64_t revision) {
    advice_ = FoundRegionsAdvice::of(search, found);
    found_ = std::move(found);
    poor_.clear();
    for (const CuePoint& region : found_) {
        poor_.push_back(fitsPoorly(region.note));
    }
    revision_ = revision;
    open_ = !found_.empty();
}

std::string FoundRegionsReview::heading() const {
    const size_t n = found_.size();
    return std::to_string(n) + (n == 1 ? " cue region found" : " cue regions found");
}

void FoundRegionsReview::discard() {
    open_ = false;
    found_.clear();
    poor_.clear();
    advice_.clear();
}

bool FoundRegionsReview::follow(uint64_t revision) {
    if (!open_ || revision == revision_) {
        return false;
    }
    discard();
    return true;
}

bool FoundRegionsReview::fitsPoorly(const std::string& note) {
    if (const std::optional<double> fit = SpeechRegions::fitOf(note)) {
        return *fit < SpeechRegions::kPoorFit;
    }
    double confidence = 0.0;
    char rest = 0;
    return std::sscanf(note.c_str(), "confidence %lf%c", &confidence, &rest) == 1 &&
           confidence < kLowConfidence;
}

}  // namespace murmelix
