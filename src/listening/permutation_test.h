#pragma once

#include <cstdint>
#include <vector>

#include "listening/listening_results.h"

namespace murmelix {

// Whether two groups of per-clip values differ in their means more than chance would make
// them, for the small groups a listening test has: the clips' group labels are shuffled, and
// the p value is the share of relabellings whose difference of means is at least as large as
// the one observed, either way. Every relabelling is tried when there are at most kExactUpTo;
// otherwise kSampled are drawn with the seed (and the observed one counted in, so that p is
// never 0).
class PermutationTest {
  public:
    static constexpr uint64_t kExactUpTo = 20000;
    static constexpr int kSampled = 10000;

    // None when a group is empty.
    static std::optional<ListeningResults::Comparison> compare(const std::vector<double>& first,
                                                               const std::vector<double>& second,
                                                               uint64_t seed);
};

}  // namespace murmelix
