#include "random/pseudo_generator.h"

#include <gtest/gtest.h>

#include <vector>

namespace murmelix {
namespace {

TEST(PseudoGenerator, KnownSequences) {
    struct Case {
        uint64_t state;
        std::vector<int32_t> outputs;
    };
    const Case cases[] = {
        {1, {346, 13854878, 1621890440, 816282396, 1778554774}},
        {0, {0, 346}},  // 0 steps to 1, whose first output is 346
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "state " << c.state);
        PseudoGenerator generator;
        generator.setState(c.state);
        for (size_t i = 0; i < c.outputs.size(); ++i) {
            EXPECT_EQ(generator.next(), c.outputs[i]) << "output " << i;
        }
    }
}

TEST(PseudoGenerator, SeedKeepsOnlyTheLow32BitsOfTheTime) {
    struct Case {
        std::time_t seconds;
        uint64_t state;
    };
    const Case cases[] = {
        {0, 0},
        {1700000000, 1700000000},
        {static_cast<std::time_t>(0x1'0000'0005ll), 5},  // after 2106 the seconds wrap
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        PseudoGenerator generator;
        generator.setState(~0ull);
        generator.seedFromTime(c.seconds);
        EXPECT_EQ(generator.state(), c.state);
    }
}

}  // namespace
}  // namespace murmelix
