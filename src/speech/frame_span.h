#pragma once

#include <cstdint>
#include <string>

namespace murmelix {

// A found region: document frames [start, end) with its label and note.
struct FrameSpan {
    int64_t start = 0;
    int64_t end = 0;
    std::string label;
    std::string note;

    bool operator==(const FrameSpan&) const = default;
};

}  // namespace murmelix
