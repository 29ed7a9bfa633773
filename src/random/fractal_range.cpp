#include "random/fractal_range.h"

#include <utility>

namespace murmelix {

std::optional<RangeFields> FractalRange::click(RangeFields fields, long double clicked) {
    long double& a = fields.low;
    long double& b = fields.high;
    if (lowerTakenLast_) {
        b = a;  // the previous click is the one in the lower field
        lowerTakenLast_ = false;
    }
    a = b;
    b = clicked;
    if (b < a) {
        std::swap(a, b);
        lowerTakenLast_ = true;
    }
    if (a == b) {
        return std::nullopt;
    }
    return fields;
}

}  // namespace murmelix
