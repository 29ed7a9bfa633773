#include "device/frame_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace murmelix {
namespace {

// Two milliseconds at the largest rate and speed, worked out without overflowing:
// 2 x (2^32 - 1)^2 / 65536000, truncated.
constexpr uint64_t kPerMs = static_cast<uint64_t>(UINT32_MAX) * UINT32_MAX;
constexpr uint64_t kLargestTwoMs = kPerMs / 65536000 * 2 + (kPerMs % 65536000) * 2 / 65536000;

TEST(FrameClockTest, CountsWholeFramesAndCarriesTheFractions) {
    const struct {
        const char* name;
        std::vector<uint64_t> steps;
        uint32_t rate;
        uint32_t speed;
        uint64_t expected;
    } cases[] = {
        {"one second at 22050", {1000}, 22050, 0x10000, 22050},
        {"1000 single milliseconds", std::vector<uint64_t>(1000, 1), 22050, 0x10000, 22050},
        {"a third of a frame per step", std::vector<uint64_t>(3, 1), 1000 / 3, 0x10000, 0},
        {"fractions add up", std::vector<uint64_t>(3000, 1), 11025, 0x10000, 33075},
        {"double speed", {500}, 44100, 0x20000, 44100},
        {"half speed", {1000}, 8000, 0x8000, 4000},
        {"160 % of 22050", {1000}, 22050, 104857, 35279},
        {"an hour in one step", {3600000}, 48000, 0x10000, 172800000},
        {"largest rate and speed", {2}, UINT32_MAX, UINT32_MAX, kLargestTwoMs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FrameClock clock;
        uint64_t frames = 0;
        for (const uint64_t ms : c.steps) {
            frames += clock.advance(ms, c.rate, c.speed);
        }
        EXPECT_EQ(frames, c.expected);
    }
}

}  // namespace
}  // namespace murmelix
