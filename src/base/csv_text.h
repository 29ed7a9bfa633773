#pragma once

#include <string>
#include <vector>

namespace murmelix {

// CSV as RFC 4180 has it, which pandas, R and spreadsheets read without options: fields
// quoted when they hold a separator (a comma, or the semicolon some spreadsheets use), a quote
// or a line break, quotes doubled; rows end in CRLF.
class CsvText {
  public:
    static std::string field(const std::string& text);
    static std::string row(const std::vector<std::string>& fields);
};

}  // namespace murmelix
