#pragma once

#include <string>
#include <vector>

#include "listening/listening_test.h"

namespace murmelix {

// One answer: a listener, a clip's code, and what they heard ("nothing" when they heard
// nothing; empty when they did not answer).
struct SheetRow {
    std::string listener;
    std::string clip;
    std::string answer;
    bool operator==(const SheetRow&) const = default;
};

// Answer sheets as CSV with the columns listener, clip and answer: what listeners fill in with
// any spreadsheet, and how the answers folder keeps them. Read as RFC 4180 has it (quoted
// fields, doubled quotes, line breaks inside quotes), with what spreadsheets add: a UTF-8 byte
// order mark, semicolons instead of commas, other columns, the columns in another order.
class AnswerSheet {
  public:
    // A row a clip, in the test's order, listener and answer left to fill in.
    static std::string blank(const ListeningTest& test);
    static std::string text(const std::vector<SheetRow>& rows);

    struct Parsed {
        std::vector<SheetRow> rows;         // every row it could read that holds an answer
        std::vector<std::string> problems;  // "line 7: ..." for every row it could not read
    };
    // `test` names the clips that exist; rows without a listener take `listener`. A sheet
    // without the three columns gives no rows and one problem.
    static Parsed parse(const std::string& text, const ListeningTest& test,
                        const std::string& listener);
};

}  // namespace murmelix
