#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/cue_search.h"
#include "audio/cue_point.h"

namespace murmelix {

// The regions a search found, while the person looks at them beside the table and decides:
// Replace puts them in place of the table, Add adds them, Discard drops them. Nothing here
// changes the table; the caller hands found() to CueEditing and then discards the review.
//
// What ends a review besides the person's choice: another search starts a new one in its
// place, and a review of a document that has been replaced since (another file opened, the
// samples changed) ends, since its positions belong to sound that is no longer there. An
// OQT or a recording only holds Replace and Add back until the table can be edited again.
class FoundRegionsReview {
  public:
    // Recogniser confidences below this mark a word the recogniser was unsure of.
    static constexpr double kLowConfidence = 0.2;

    // Opens a review of `found` (not empty), made on the document of `revision`; an open
    // review is replaced.
    void open(const CueSearch& search, std::vector<CuePoint> found, uint64_t revision);
    bool isOpen() const { return open_; }
    const std::vector<CuePoint>& found() const { return found_; }
    // Whether each found region fits its word poorly (or the recogniser was unsure of it).
    const std::vector<bool>& poor() const { return poor_; }
    // "12 cue regions found".
    std::string heading() const;
    // What the person should know before taking them (FoundRegionsAdvice); often empty.
    const std::string& advice() const { return advice_; }

    // Replace and Add need a table that can be edited now; Discard is there while open.
    bool canAdopt(bool tableEditable) const { return open_ && tableEditable; }
    void discard();
    // Ends the review when the document it was made on has been replaced; true if it did.
    bool follow(uint64_t revision);

    // A found region's note says it fits poorly: "fit 0.02", "confidence 0.10".
    static bool fitsPoorly(const std::string& note);

  private:
    bool open_ = false;
    std::vector<CuePoint> found_;
    std::vector<bool> poor_;
    std::string advice_;
    uint64_t revision_ = 0;
};

}  // namespace murmelix
