#pragma once

#include <optional>

namespace murmelix {

// The two text fields of one axis of the diagram (rMin and rMax, or xMin and xMax).
struct RangeFields {
    long double low = 0;
    long double high = 0;

    bool operator==(const RangeFields&) const = default;
};

// Narrowing one axis of the diagram by left clicks: the fields always end up holding the
// last two clicked values in ascending order. The order flag remembers that the previous
// click went into the lower field, so the next click pairs with it rather than with the
// upper field. The flag lives as long as the program, not as long as one opening of the
// dialog.
class FractalRange {
  public:
    // `fields` as they read now; the values they are to show, or nothing when the two would
    // be equal (the fields then stay as they are). The order flag changes either way.
    std::optional<RangeFields> click(RangeFields fields, long double clicked);

    bool lowerTakenLast() const { return lowerTakenLast_; }

  private:
    bool lowerTakenLast_ = false;
};

}  // namespace murmelix
