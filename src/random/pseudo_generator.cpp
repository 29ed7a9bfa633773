#include "random/pseudo_generator.h"

#include <chrono>

namespace murmelix {

void PseudoGenerator::seedFromTime(std::time_t seconds) {
    state_ = static_cast<uint32_t>(static_cast<uint64_t>(seconds));
}

void PseudoGenerator::seedFromClock() {
    const auto now = std::chrono::system_clock::now();
    seedFromTime(std::chrono::system_clock::to_time_t(now));
}

}  // namespace murmelix
