#include "synth/cross_fader.h"

#include <gtest/gtest.h>

#include "synth_fixtures.h"

namespace murmelix {
namespace {

using testing::makeDocument;

std::vector<int> samples(const AudioDocument& doc, const std::vector<uint8_t>& block, int channel) {
    const SampleLayout layout = doc.layout();
    std::vector<int> out;
    const size_t frames = block.size() / static_cast<size_t>(doc.frameSize);
    for (size_t i = 0; i < frames; ++i) {
        out.push_back(layout.read(layout.origin(block.data(), channel), static_cast<int64_t>(i)));
    }
    return out;
}

TEST(CrossFaderTest, WeightsRiseOverTheNewSegmentAndFallOverTheTail) {
    struct Case {
        const char* name;
        std::vector<int> data;  // new segment at 0..4, tail at 5..9
        std::vector<int> expected;
    } cases[] = {
        {"tail equal",
         {1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000},
         {1000, 1000, 1000, 1000, 1000}},
        {"tail silent", {1000, 1000, 1000, 1000, 1000, 0, 0, 0, 0, 0}, {0, 250, 500, 750, 1000}},
        // Each weighted part is cut toward zero on its own: at w = 0.5, -3 gives -1 + -1.
        {"negatives", {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3}, {-3, -2, -2, -2, -3}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AudioDocument doc = makeDocument(c.data);
        CrossFader fader;
        std::vector<uint8_t> block;
        fader.crossFade(doc, 3, 2, block);  // a segment ending at frame 5 leaves the tail there
        ASSERT_EQ(fader.tail(), 5);
        fader.crossFade(doc, 0, 5, block);
        EXPECT_EQ(samples(doc, block, 0), c.expected);
        EXPECT_EQ(fader.tail(), 5);
    }
}

TEST(CrossFaderTest, FirstSegmentFadesInFromSilenceAndSingleFramePlaysFull) {
    const AudioDocument doc = makeDocument({1000, 1000, 1000, 1000, 1000, 800}, 8000, 2);
    CrossFader fader;
    std::vector<uint8_t> block;
    fader.crossFade(doc, 0, 5, block);
    EXPECT_EQ(samples(doc, block, 0), (std::vector<int>{0, 250, 500, 750, 1000}));
    EXPECT_EQ(samples(doc, block, 1), (std::vector<int>{0, -250, -500, -750, -1000}));
    fader.clearTail();
    fader.crossFade(doc, 5, 1, block);
    EXPECT_EQ(samples(doc, block, 0), (std::vector<int>{800}));
}

TEST(CrossFaderTest, FramesBeyondTheDataAreSilence) {
    const AudioDocument doc = makeDocument({100, 100, 100, 100});
    CrossFader fader;
    std::vector<uint8_t> block;
    fader.crossFade(doc, 2, 2, block);  // tail := 4, the end of the data
    fader.crossFade(doc, 0, 3, block);  // tail frames 4..6 do not exist
    EXPECT_EQ(samples(doc, block, 0), (std::vector<int>{0, 50, 100}));
    // Tail now at 3: its frame 3 still sounds, frames 4 and 5 (tail and segment) are missing.
    fader.crossFade(doc, 3, 3, block);
    EXPECT_EQ(samples(doc, block, 0), (std::vector<int>{100, 0, 0}));
}

}  // namespace
}  // namespace murmelix
