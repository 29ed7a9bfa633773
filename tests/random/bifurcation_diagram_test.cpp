#include "random/bifurcation_diagram.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace murmelix {
namespace {

constexpr int kW = BifurcationDiagram::kWidth;

BifurcationParameters params(long double rMin, long double rMax, int32_t iterations,
                             int32_t invisible) {
    BifurcationParameters p;
    p.rMin = rMin;
    p.rMax = rMax;
    p.iterations = iterations;
    p.invisible = invisible;
    return p;
}

BifurcationDiagram drawn(const BifurcationParameters& p) {
    BifurcationDiagram diagram;
    diagram.begin(p);
    diagram.finish();
    return diagram;
}

std::vector<int> litRows(const BifurcationDiagram& diagram, int column) {
    std::vector<int> rows;
    for (int y = 0; y < BifurcationDiagram::kHeight; ++y) {
        if (diagram.pixel(column, y) != BifurcationDiagram::kBlack) {
            rows.push_back(y);
        }
    }
    return rows;
}

int litPixels(const BifurcationDiagram& diagram) {
    int count = 0;
    for (int x = 0; x < kW; ++x) {
        count += static_cast<int>(litRows(diagram, x).size());
    }
    return count;
}

// r = 2 keeps x at 0.5 exactly: every visible iteration hits row 100 of every column.
TEST(BifurcationDiagramTest, EachHitBrightensThePixelByOneStepUpToTheFullColour) {
    struct Case {
        bool r, g, b;
        int32_t colors, iterations, invisible;
        uint32_t colour;  // red in the low byte
    } cases[] = {
        {0, 1, 0, 4, 51, 50, 0x003F00},   {0, 1, 0, 4, 52, 50, 0x007E00},
        {0, 1, 0, 4, 54, 50, 0x00FC00},   {0, 1, 0, 4, 55, 50, 0x00FF00},
        {0, 1, 0, 255, 7, 0, 0x000700},   {0, 1, 0, 255, 254, 0, 0x00FE00},
        {0, 1, 0, 255, 400, 0, 0x00FF00}, {0, 1, 0, 3, 3, 0, 0x00FF00},
        {1, 0, 0, 4, 2, 0, 0x00007E},     {0, 0, 1, 4, 2, 0, 0x7E0000},
        {1, 1, 1, 2, 2, 0, 0xFEFEFE},     {1, 1, 1, 2, 3, 0, 0xFFFFFF},
        {0, 0, 0, 4, 300, 50, 0},         {0, 1, 0, 4, 50, 50, 0},
        {0, 1, 0, 0, 1, 0, 0x00FF00},  // below one colour counts as one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.r << c.g << c.b << " colours " << c.colors << ", "
                                          << c.iterations << " less " << c.invisible);
        BifurcationParameters p = params(2, 2, c.iterations, c.invisible);
        p.red = c.r;
        p.green = c.g;
        p.blue = c.b;
        p.colors = c.colors;
        const BifurcationDiagram diagram = drawn(p);
        EXPECT_EQ(litPixels(diagram), c.colour == 0 ? 0 : kW);
        EXPECT_EQ(diagram.pixel(0, 100), c.colour);
        EXPECT_EQ(diagram.pixel(kW - 1, 100), c.colour);
    }
}

// Column i takes r = (rMax - rMin) / 200 * i + rMin; one iteration from x = 0.5 lands on
// r / 4, exact in binary, at row 200 - 200 * (x - xMin) / (xMax - xMin) truncated.
TEST(BifurcationDiagramTest, AValueLandsOnItsColumnAndRowTruncatedTowardZero) {
    struct Case {
        long double rMin, rMax, xMin, xMax;
        int column, row;  // row -1: nothing drawn
    } cases[] = {
        {2, 2, 0, 1, 0, 100},
        {3, 3, 0, 1, 0, 50},
        {4, 4, 0, 1, 0, 0},               // x = xMax: the top row
        {0, 0, 0, 1, 0, -1},              // x = xMin: row 200, outside
        {0.25L, 0.25L, 0, 1, 0, 187},     // row 187.5
        {4 + 1.0L / 128, 4, 0, 1, 0, 0},  // row -0.39 truncates to 0
        {4 + 1.0L / 32, 4, 0, 1, 0, -1},  // row -1.56 truncates to -1
        {2, 2, 0.25L, 0.75L, 0, 100},
        {3, 3, 0.25L, 0.75L, 0, 0},
        {3, 3, 1, 0, 0, 150},  // an upside-down range draws upside down
        {2, 202, 0, 1, 1, 50},
        {2, 202, 0, 1, 2, 0},
        {2, 202, 0, 1, 3, -1},
        {4, -196, 0, 1, 2, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << static_cast<double>(c.rMin) << " column " << c.column << " x "
                     << static_cast<double>(c.xMin) << " .. " << static_cast<double>(c.xMax));
        BifurcationParameters p = params(c.rMin, c.rMax, 1, 0);
        p.xMin = c.xMin;
        p.xMax = c.xMax;
        const std::vector<int> expected = c.row < 0 ? std::vector<int>{} : std::vector{c.row};
        EXPECT_EQ(litRows(drawn(p), c.column), expected);
    }
}

// Orbits that run away and ranges that divide by zero must neither crash nor paint.
TEST(BifurcationDiagramTest, RunawayOrbitsAndEmptyRangesDrawNothing) {
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const struct {
        long double rMin, rMax, xMin, xMax, xStart;
    } cases[] = {
        {5, 5, 0, 1, 0.5L},      {3.9L, 3.9L, 0, 1, -1},          {3.2L, 3.2L, 0.5L, 0.5L, 0.5L},
        {3.9L, 3.9L, 0, 1, nan}, {-1e4000L, 1e4000L, 0, 1, 0.5L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.rMin));
        BifurcationParameters p = params(c.rMin, c.rMax, 1000, 0);
        p.xMin = c.xMin;
        p.xMax = c.xMax;
        p.xStart = c.xStart;
        EXPECT_EQ(litPixels(drawn(p)), 0);
    }
}

TEST(BifurcationDiagramTest, OnlyACompleteDrawingSetsTheBoundsThatClicksReferTo) {
    BifurcationDiagram diagram;
    EXPECT_FALSE(diagram.drawNextColumn());
    EXPECT_FALSE(diagram.pointAt(100, 100).has_value());
    diagram.begin(params(3.2L, 3.2L, 300, 50));
    for (int column = 0; column < kW; ++column) {
        EXPECT_TRUE(diagram.bounds().allZero()) << column;
        EXPECT_TRUE(litRows(diagram, column).empty()) << column;
        ASSERT_TRUE(diagram.drawNextColumn());
        EXPECT_EQ(litRows(diagram, column).size(), 2u) << column;
    }
    EXPECT_FALSE(diagram.drawing());
    EXPECT_EQ(diagram.bounds().rMin, 3.2L);

    // A new drawing starts black; one abandoned half way never sets its bounds.
    diagram.begin(params(2, 2, 300, 50));
    EXPECT_EQ(litPixels(diagram), 0);
    diagram.drawNextColumn();
    diagram.begin(BifurcationParameters{});
    EXPECT_EQ(diagram.bounds().rMin, 3.2L);
    diagram.finish();

    const struct {
        int x, y;
        long double r, xValue;
    } cases[] = {
        {100, 100, 3.75L, 0.5L}, {0, 200, 3.5L, 0}, {200, 0, 4, 1}, {50, 150, 3.625L, 0.25L}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << ", " << c.y);
        const std::optional<BifurcationPoint> point = diagram.pointAt(c.x, c.y);
        ASSERT_TRUE(point.has_value());
        EXPECT_EQ(point->r, c.r);
        EXPECT_EQ(point->x, c.xValue);
    }

    BifurcationParameters zero = params(0, 0, 1, 0);  // all four ranges 0: no drawing
    zero.xMax = 0;
    diagram.begin(zero);
    diagram.finish();
    EXPECT_FALSE(diagram.pointAt(100, 100).has_value());
}

}  // namespace
}  // namespace murmelix
