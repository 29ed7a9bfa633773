#include "audio/zero_crossing.h"

namespace murmelix {

int64_t ZeroCrossing::next(const AudioDocument& doc, int64_t first) {
    if (first < 0 || first >= doc.frameCount) {
        return first;
    }
    int previous = first > 0 ? doc.read(0, first - 1) : 0;
    for (int64_t i = first; i < doc.frameCount; ++i) {
        const int current = doc.read(0, i);
        if (current >= 0 && previous <= 0) {
            return i;
        }
        previous = current;
    }
    return first;
}

}  // namespace murmelix
