#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "labels/peak_cache.h"

namespace murmelix {
namespace {

AudioDocument randomDocument(int channels, int bits, int32_t frames, uint32_t seed) {
    AudioDocument doc;
    doc.format.formatTag = 1;
    doc.format.channels = static_cast<uint16_t>(channels);
    doc.format.bitsPerSample = static_cast<uint16_t>(bits);
    doc.format.samplesPerSec = 8000;
    std::mt19937 random(seed);
    doc.data.resize(static_cast<size_t>(frames) * static_cast<size_t>(channels * bits / 8));
    for (auto& byte : doc.data) {
        byte = static_cast<uint8_t>(random());
    }
    doc.commit("r.wav");
    return doc;
}

TEST(PeakCacheTest, ColumnsEqualADirectMinMaxAtEveryZoom) {
    struct Case {
        int channels;
        int bits;
        int32_t frames;
    } cases[] = {{1, 16, 300001}, {2, 16, 70000}, {2, 8, 123457}, {1, 8, 255}, {1, 8, 4200000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.channels) + " channels, " + std::to_string(c.bits) + " bits");
        const AudioDocument doc = randomDocument(c.channels, c.bits, c.frames, 7);
        PeakCache cache;
        cache.build(doc);
        for (const double framesPerColumn : {0.37, 1.0, 3.5, 255.9, 1024.0, 5000.3, 40000.0}) {
            for (const double first : {0.0, 1234.5}) {
                for (int channel = 0; channel < c.channels; ++channel) {
                    const auto columns = cache.columns(doc, channel, first, framesPerColumn, 64);
                    for (int x = 0; x < 64; ++x) {
                        const auto from =
                            static_cast<int64_t>(std::floor(first + x * framesPerColumn));
                        const int64_t to = std::min<int64_t>(
                            std::max(
                                static_cast<int64_t>(std::floor(first + (x + 1) * framesPerColumn)),
                                from + 1),
                            doc.frameCount);
                        const auto& column = columns[static_cast<size_t>(x)];
                        ASSERT_EQ(column.present, from < doc.frameCount);
                        if (!column.present) {
                            continue;
                        }
                        int low = INT32_MAX;
                        int high = INT32_MIN;
                        for (int64_t f = from; f < to; ++f) {
                            low = std::min(low, doc.read(channel, f));
                            high = std::max(high, doc.read(channel, f));
                        }
                        ASSERT_EQ(column.peak,
                                  (Peak{static_cast<int16_t>(low), static_cast<int16_t>(high)}))
                            << "zoom " << framesPerColumn << " column " << x;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace murmelix
