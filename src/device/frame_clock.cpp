#include "device/frame_clock.h"

#include <algorithm>

namespace murmelix {

namespace {

constexpr uint64_t kUnitsPerFrame = 1000ull * 65536ull;

}  // namespace

uint64_t FrameClock::advance(uint64_t ms, uint32_t rate, uint32_t speed) {
    // Below 2^64 for any 32-bit rate and speed; with one millisecond per step the carry
    // (under kUnitsPerFrame) still fits beside it. Whole seconds per step where that is safe.
    const uint64_t perMs = static_cast<uint64_t>(rate) * speed;
    const uint64_t step = perMs <= UINT64_MAX / 2000 ? 1000 : 1;
    uint64_t frames = 0;
    while (ms > 0) {
        const uint64_t now = std::min(ms, step);
        carry_ += now * perMs;
        frames += carry_ / kUnitsPerFrame;
        carry_ %= kUnitsPerFrame;
        ms -= now;
    }
    return frames;
}

}  // namespace murmelix
