#pragma once

#include <cstdint>
#include <functional>

namespace murmelix {

// Frames of the document done so far and its frame count, told at least twice a second
// while the work runs; returning false cancels it. May be empty.
using SpeechProgress = std::function<bool(int64_t done, int64_t total)>;

}  // namespace murmelix
