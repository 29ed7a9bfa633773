#pragma once

#include <cstdint>

namespace murmelix {

// The speed slider: position 0 (top) to 100 (bottom), 50 in the middle.
class PlaybackSpeed {
  public:
    static constexpr int kMiddle = 50;

    // 200 % at the top down to 102 % in steps of 2 above the middle, 100 % in the middle,
    // 99 % down to 50 % in steps of 1 below it.
    static int percentForPosition(int position) {
        if (position < kMiddle) {
            return 2 * (100 - position);
        }
        if (position == kMiddle) {
            return 100;
        }
        return 150 - position;
    }

    // The device rate for a document rate at a speed, truncated.
    static uint32_t adjustedRate(int32_t fileSampleRate, int percent) {
        return static_cast<uint32_t>(int64_t{percent} * fileSampleRate / 100);
    }
};

}  // namespace murmelix
