#include "speech/loud_sound.h"
#include "speech/misheard_silence.h"

#include <gtest/gtest.h>

namespace murmelix {
namespace {

// Blocks of 100 frames: speech at -20 dB in blocks 0-49, then a silence (blocks 50-149) at
// -70 dB but for the loud blocks a case puts in it, and one click at 0 dB in block 199.
TEST(MisheardSilence, LoudStretchesOfASilenceAreHeardAgain) {
    struct Case {
        std::string name;
        int loudFrom;  // loud blocks [loudFrom, loudTo) inside the silence, at loudDb
        int loudTo;
        float loudDb;
        int quietFrom;  // and quiet ones among them [quietFrom, quietTo)
        int quietTo;
        std::vector<std::pair<int64_t, int64_t>> expected;
    };
    const std::vector<Case> cases = {
        {"loud middle, with margins", 75, 105, -22.0f, 0, 0, {{7000, 11000}}},
        {"too short to be a word", 80, 104, -22.0f, 0, 0, {}},
        {"room tone well below the speech", 80, 120, -45.0f, 0, 0, {}},
        {"at the silence's edges, clipped to it", 50, 150, -25.0f, 0, 0, {{5000, 15000}}},
        {"a pause inside loud sound still counts", 60, 90, -30.0f, 70, 75, {{5500, 9500}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> levels(200, -70.0f);
        std::fill(levels.begin(), levels.begin() + 50, -20.0f);
        levels[199] = 0.0f;
        std::fill(levels.begin() + c.loudFrom, levels.begin() + c.loudTo, c.loudDb);
        std::fill(levels.begin() + c.quietFrom, levels.begin() + c.quietTo, -70.0f);
        std::vector<std::pair<int64_t, int64_t>> got;
        for (const FrameSpan& s :
             MisheardSilence::stretches({{5000, 15000, {}, {}}}, levels, 100)) {
            got.emplace_back(s.start, s.end);
        }
        EXPECT_EQ(got, c.expected);
    }
}

// Blocks of 10 frames at -60 dB but for loud ones at -10 dB (always blocks 50-59, apart from
// every region): a region next to a pause takes the loud blocks it touches, up to its
// neighbour, and nothing quieter.
TEST(LoudSound, RegionsTakeTheLoudSoundTheyTouch) {
    struct Case {
        std::string name;
        std::vector<std::pair<int, int>> loud;  // loud blocks [first, last)
        std::vector<std::pair<int64_t, int64_t>> spans;
        std::vector<std::pair<int64_t, int64_t>> expected;
    };
    const std::vector<Case> cases = {
        {"loud ends after and before",
         {{8, 14}, {28, 33}},
         {{85, 120}, {300, 330}},
         {{80, 140}, {280, 330}}},
        {"quiet neighbours stay", {{10, 12}}, {{100, 120}}, {{100, 120}}},
        {"up to the neighbour", {{10, 30}}, {{100, 150}, {170, 250}}, {{100, 170}, {170, 300}}},
        {"loud sound apart from the region is left", {{20, 25}}, {{100, 150}}, {{100, 150}}},
        {"loud sound running on is other sound", {{10, 40}}, {{70, 100}}, {{70, 100}}},
        {"and so is loud sound from the data's edge", {{0, 6}}, {{50, 60}}, {{50, 60}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> levels(60, -60.0f);
        std::fill(levels.begin() + 50, levels.end(), -10.0f);
        for (const auto& [first, last] : c.loud) {
            std::fill(levels.begin() + first, levels.begin() + last, -10.0f);
        }
        std::vector<FrameSpan> spans;
        for (const auto& [start, end] : c.spans) {
            spans.push_back({start, end, {}, {}});
        }
        LoudSound::claimLoudEdges(spans, levels, 10, 600);
        std::vector<std::pair<int64_t, int64_t>> got;
        for (const FrameSpan& s : spans) {
            got.emplace_back(s.start, s.end);
        }
        EXPECT_EQ(got, c.expected);
    }
}

}  // namespace
}  // namespace murmelix
