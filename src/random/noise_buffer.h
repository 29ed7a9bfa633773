#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace murmelix {

// The one buffer of noise samples shared by the sound-card and file sources. A fill always
// holds a whole number of 32-sample groups, because a comparison draw takes 32 samples.
class NoiseBuffer {
  public:
    static constexpr int32_t kCapacity = 10240;
    static constexpr int32_t kGroup = 32;

    // Takes the samples up to the last whole group (at most kCapacity) as the new fill and
    // returns how many that is; the rest is dropped.
    int32_t fill(std::span<const int16_t> samples);
    void discard() {
        readPosition_ = 0;
        fillCount_ = 0;
    }

    int32_t remaining() const { return fillCount_ - readPosition_; }
    int16_t next() { return samples_[static_cast<size_t>(readPosition_++)]; }
    void skip() { ++readPosition_; }

    int32_t readPosition() const { return readPosition_; }
    int32_t fillCount() const { return fillCount_; }
    int32_t minimum() const { return minimum_; }
    int32_t maximum() const { return maximum_; }

  private:
    std::array<int16_t, kCapacity> samples_{};
    int32_t readPosition_ = 0;
    int32_t fillCount_ = 0;
    int32_t minimum_ = 0;
    int32_t maximum_ = 0;
};

}  // namespace murmelix
