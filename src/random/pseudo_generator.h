#pragma once

#include <cstdint>
#include <ctime>

namespace murmelix {

// The program's linear congruential generator. Its exact sequence matters: a session's
// random numbers are reproducible from the seed, and the fractal dialog's "Random" buttons
// share this one generator with the pseudo random source. UI thread only.
class PseudoGenerator {
  public:
    static constexpr uint64_t kMultiplier = 0x0000015A00004E35;  // 346 * 2^32 + 20021

    // Low 32 bits from the given seconds since 1970, high 32 bits cleared.
    void seedFromTime(std::time_t seconds);
    void seedFromClock();

    uint64_t state() const { return state_; }
    void setState(uint64_t state) { state_ = state; }

    // One step per output; 0 to 2147483647.
    int32_t next() {
        state_ = state_ * kMultiplier + 1;  // wraps modulo 2^64 by definition of uint64_t
        return static_cast<int32_t>((state_ >> 32) & 0x7FFFFFFF);
    }

  private:
    uint64_t state_ = 0;
};

}  // namespace murmelix
