#pragma once

#include <optional>
#include <vector>

#include "audio/cue_point.h"
#include "session/played_word.h"
#include "session/sequence.h"

namespace murmelix {

// The words of the recording that a sequence carried, in play order. A segment cut at a cue
// region plays that region's word whole (its label is in the entry). A segment of a chosen
// duration plays the labelled regions it overlaps (typically word regions found by the
// speech search): a word counts when at least kLeast of it was heard and as heard whole
// from kWhole on; between the two it is a part ("riv~"). Points and unlabelled regions are
// no words.
class PlayedWords {
  public:
    static constexpr double kWhole = 0.6;
    static constexpr double kLeast = 0.2;

    // The recording's regions, made ready once for the sequences of a whole session.
    explicit PlayedWords(const std::vector<CuePoint>& regions);

    // None when the recording has no labelled regions and the entries no labels: there is
    // nothing to tell the words by.
    std::optional<std::vector<PlayedWord>> of(const SEQUENCE& sequence) const;
    static std::optional<std::vector<PlayedWord>> of(const SEQUENCE& sequence,
                                                     const std::vector<CuePoint>& regions) {
        return PlayedWords(regions).of(sequence);
    }
    // The words written one after another, separated by spaces.
    static std::string text(const std::vector<PlayedWord>& words);

  private:
    void addOverlapped(const SEGMENT& entry, std::vector<PlayedWord>& out) const;

    std::vector<CuePoint> words_;  // the labelled regions, by their first frame
    int64_t longest_ = 0;
};

}  // namespace murmelix
