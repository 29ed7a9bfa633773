#pragma once

#include <string>

#include "listening/listening_results.h"

namespace murmelix {

// Every figure of a listening test for R and pandas: one CSV row a clip (read without
// options), and all of it, groups and comparison included, as JSON.
class ResultsTable {
  public:
    static std::string csv(const ListeningResults& results);
    static std::string json(const ListeningResults& results);
};

}  // namespace murmelix
