#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "listening/answer_sheet.h"

namespace murmelix {

// The answers of a listening test, in its folder's "answers" folder: one CSV file a listener,
// written anew (atomically) with every answer, so that a crash loses at most the answer being
// typed. An answer once kept is never replaced or dropped.
class AnswerStore {
  public:
    // Every answer kept, listener by listener in the order of their files' names; files or rows
    // it cannot read are named in `problems` and left as they are.
    static Result read(const std::string& folder, const ListeningTest& test,
                       std::vector<SheetRow>& rows, std::vector<std::string>& problems);
    // Keeps one answer. Failed when that listener has answered that clip already.
    static Result record(const std::string& folder, const ListeningTest& test,
                         const SheetRow& answer);
    // Takes the rows of a filled sheet: each answer that listener has not given yet to that
    // clip; every other one is named in `problems`. `taken` counts the answers kept.
    static Result take(const std::string& folder, const ListeningTest& test,
                       const std::vector<SheetRow>& rows, std::vector<std::string>& problems,
                       int& taken);
    // "answers/anna-1a2b3c4d.csv": the name's letters and digits and a hash of all of it, so
    // that names differing only in other characters keep files of their own.
    static std::string fileFor(const std::string& folder, const std::string& listener);
};

}  // namespace murmelix
