#pragma once

#include <string>
#include <vector>

#include "base/user_interface.h"
#include "listening/answer_sheet.h"
#include "listening/listening_results.h"
#include "listening/listening_test.h"

namespace murmelix {

// The figures of a listening test from its answers (see ListeningResults for each measure).
class ListeningAnalysis {
  public:
    static constexpr int kPeaks = 120;

    // `folder`: where the clips are, for their pictures (a clip that cannot be read has none,
    // and nothing is said of it through `ui`).
    static ListeningResults of(const ListeningTest& test, const std::vector<SheetRow>& answers,
                               const std::string& folder, UserInterface& ui);

    // The overlap of two answers: shared words over the words of either; 0 when either heard
    // nothing.
    static double overlap(const std::string& a, const std::string& b);
    // False for an answer without words or one that says "nothing".
    static bool heardSomething(const std::string& answer);
};

}  // namespace murmelix
