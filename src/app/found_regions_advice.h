#pragma once

#include <string>
#include <vector>

#include "app/cue_search.h"
#include "audio/cue_point.h"

namespace murmelix {

// What the person should know about the regions a search found before taking them: a hint
// when a search for pauses found hardly any (the settings, not the recording, are then the
// likely cause), and a warning when words aligned to a transcript fit the speech poorly (a
// wrong transcript is aligned all the same). Empty when there is nothing to say.
class FoundRegionsAdvice {
  public:
    static std::string of(const CueSearch& search, const std::vector<CuePoint>& found);

  private:
    static std::string onPauses(const PauseSettings& settings, size_t found);
    static std::string onWords(const std::vector<CuePoint>& found);
};

}  // namespace murmelix
