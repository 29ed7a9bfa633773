#include "random/fractal_formula.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "random/fractal_range.h"
#include "random/number_format.h"

namespace murmelix {
namespace {

using F = FractalFormula;

long double read(const std::string& text) {
    const std::optional<long double> value = NumberFormat::parse(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(0);
}

TEST(FractalFormulaTest, IterateTakesOneStepOfTheMap) {
    const struct {
        const char *r, *x, *result;
    } cases[] = {{"3.8", "0.5", "0.95"}, {"3.8", "0.95", "0.1805"},
                 {"4", "0.5", "1"},      {"3.8", "1", "0"},
                 {"4", "2", "-8"},       {"3.9", "0.123456789012345", "0.422039320010515"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(NumberFormat::format(F::iterate(read(c.r), read(c.x))), c.result);
    }
}

TEST(FractalFormulaTest, AValueMovesTheSliderToItsTruncatedMillionthsWithinTheRange) {
    const struct {
        const char* text;
        int32_t min, max, position;
    } cases[] = {
        {"0.95", F::kPopulationMin, F::kPopulationMax, 950000},
        {"3.7123456", F::kGrowthMin, F::kGrowthMax, 3712345},
        {"3.5000009", F::kGrowthMin, F::kGrowthMax, 3500000},  // truncated, not rounded
        {"0.0000005", F::kPopulationMin, F::kPopulationMax, 0},
        {"0.999999999999999", F::kPopulationMin, F::kPopulationMax, 999999},
        {"4.5", F::kGrowthMin, F::kGrowthMax, 4000000},
        {"3", F::kGrowthMin, F::kGrowthMax, 3500000},
        {"-1E300", F::kPopulationMin, F::kPopulationMax, 0},
        {"1E4000", F::kGrowthMin, F::kGrowthMax, 4000000},
        {"-3.0000019", -4000000, 0, -3000001},  // toward zero on the negative side too
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(F::sliderPosition(read(c.text), c.min, c.max), c.position);
    }
}

// A field and its slider settle after one exchange only if every text a position produces
// reads back as that same position (plain truncation misses about one in 90).
TEST(FractalFormulaTest, EveryPositionsTextReadsBackAsThatPosition) {
    const struct {
        int32_t min, max;
    } cases[] = {{F::kGrowthMin, F::kGrowthMax}, {F::kPopulationMin, F::kPopulationMax}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.min);
        int mismatches = 0;
        for (int32_t position = c.min; position <= c.max; position += 7) {
            mismatches +=
                F::sliderPosition(read(F::sliderText(position)), c.min, c.max) != position;
        }
        EXPECT_EQ(mismatches, 0);
    }
    EXPECT_EQ(F::sliderText(3712345), "3.712345");
    EXPECT_EQ(F::sliderText(1), "1E-6");
}

TEST(FractalFormulaTest, RandomPositionsLieOnTheSliderGrid) {
    const struct {
        int32_t min, max;
        std::vector<int32_t> first;  // seed 1: outputs 346, 13854878, 1621890440
    } cases[] = {{F::kGrowthMin, F::kGrowthMax, {3500346, 3854851, 3887197}},
                 {F::kPopulationMin, F::kPopulationMax, {346, 854865, 888819}}};
    for (const auto& c : cases) {
        PseudoGenerator generator;
        generator.setState(1);
        for (const int32_t expected : c.first) {
            EXPECT_EQ(F::randomPosition(generator, c.min, c.max), expected);
        }
        for (int i = 0; i < 10000; ++i) {
            const int32_t position = F::randomPosition(generator, c.min, c.max);
            ASSERT_TRUE(position >= c.min && position <= c.max) << position;
        }
    }
}

// Applies clicks as the dialog does: a result goes into the fields, nothing leaves them.
RangeFields clickAll(FractalRange& range, RangeFields fields,
                     const std::vector<long double>& clicks) {
    for (const long double clicked : clicks) {
        fields = range.click(fields, clicked).value_or(fields);
    }
    return fields;
}

TEST(FractalRangeTest, LeftClicksLeaveTheLastTwoValuesInAscendingOrder) {
    const struct {
        std::vector<long double> clicks;
        RangeFields shown;
        bool lowerTakenLast;
    } cases[] = {
        {{3.6L}, {3.6L, 4}, true},
        {{3.6L, 3.7L}, {3.6L, 3.7L}, false},
        {{3.7L, 3.6L}, {3.6L, 3.7L}, true},
        {{4.5L}, {4, 4.5L}, false},
        {{4}, {3.5L, 4}, false},  // an equal pair leaves the fields as they were
        {{3.6L, 3.6L}, {3.6L, 4}, false},
        {{3.6L, 3.7L, 3.65L}, {3.65L, 3.7L}, true},
        {{3.7L, 3.6L, 3.65L}, {3.6L, 3.65L}, false},
        {{3.9L, 3.8L, 3.7L, 3.6L}, {3.6L, 3.7L}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.clicks.size() << " clicks from " << double(c.clicks[0]));
        FractalRange range;
        const RangeFields shown = clickAll(range, {3.5L, 4}, c.clicks);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(range.lowerTakenLast(), c.lowerTakenLast);
    }
}

}  // namespace
}  // namespace murmelix
