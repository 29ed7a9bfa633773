#include "random/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "support/scratch_folder.h"

namespace murmelix {
namespace {

struct FormatCase {
    long double value;
    const char* text;
};

const FormatCase kFormatCases[] = {
    {0.95L, "0.95"},
    {(3.8L * 0.95L) * (1 - 0.95L), "0.1805"},
    {0.0001L, "0.0001"},
    {0.00005L, "5E-5"},
    {1.5e16L, "1.5E16"},
    {-1.5e16L, "-1.5E16"},
    {-2.5L, "-2.5"},
    {-0.00012345L, "-0.00012345"},
    {-0.00001234L, "-1.234E-5"},
    {0, "0"},
    {-0.0L, "0"},
    {1, "1"},
    {100, "100"},
    {3.8, "3.8"},  // the double nearest 3.8 still reads 3.8 at 15 digits
    {1.0L / 3, "0.333333333333333"},
    {2.0L / 3, "0.666666666666667"},
    {-2.0L / 3, "-0.666666666666667"},
    {0.1L + 0.2L, "0.3"},
    {123456789012345.0L, "123456789012345"},       // 15 integer digits: still fixed
    {1234567890123456.0L, "1.23456789012346E15"},  // 16: exponent form
    {999999999999999.9L, "1E15"},                  // rounds up to 16 integer digits
    {0.000099999999999999999L, "0.0001"},          // rounds up into fixed range
    {0.00009999999999999L, "9.999999999999E-5"},
    {1234.5678901234567L, "1234.56789012346"},
    {1e-300L, "1E-300"},
    {1e300L, "1E300"},
    {1.25e-4000L, "1.25E-4000"},  // beyond double: the extended range counts too
    {std::numeric_limits<long double>::infinity(), "INF"},
    {-std::numeric_limits<long double>::infinity(), "-INF"},
    {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
};

TEST(NumberFormat, GeneralFormat) {
    for (const auto& c : kFormatCases) {
        EXPECT_EQ(NumberFormat::format(c.value), c.text);
    }
}

TEST(NumberFormat, LongestTextsFitTheBuffer) {
    const long double values[] = {-std::numeric_limits<long double>::denorm_min(),
                                  -std::numeric_limits<long double>::max(),
                                  -1.23456789012345e-4000L};
    for (const long double value : values) {
        EXPECT_LE(NumberFormat::format(value).size(), NumberFormat::kMaxLength);
    }
}

TEST(NumberFormat, ParsesDecimalNumbersOnly) {
    struct Case {
        const char* text;
        bool valid;
        long double value;
    };
    const Case cases[] = {
        {"0.95", true, 0.95L},
        {"3.8", true, 3.8L},
        {"  3.8\t", true, 3.8L},
        {"-1.5E16", true, -1.5e16L},
        {"5e-5", true, 5e-5L},
        {"+2", true, 2},
        {".5", true, 0.5L},
        {"5.", true, 5},
        {"1E+3", true, 1000},
        {"4E-4950", true, 4e-4950L},  // below the normal range but representable
        {"1,5", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {"abc", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"e5", false, 0},
        {"0x10", false, 0},
        {"inf", false, 0},
        {"INF", false, 0},
        {"nan", false, 0},
        {"--1", false, 0},
        {"1.2.3", false, 0},
        {"1 2", false, 0},
        {"1e99999", false, 0},
        {"3.8x", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "'" << c.text << "'");
        const auto parsed = NumberFormat::parse(c.text);
        ASSERT_EQ(parsed.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(*parsed, c.value);
        }
    }
}

TEST(NumberFormat, FormattedTextsReadBackToTheSameText) {
    for (const auto& c : kFormatCases) {
        SCOPED_TRACE(c.text);
        if (!std::isfinite(c.value)) {
            continue;  // the program never reads these back
        }
        const auto parsed = NumberFormat::parse(c.text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(NumberFormat::format(*parsed), c.text);
        if (c.value != 0) {
            EXPECT_NEAR(static_cast<double>(*parsed / c.value), 1.0, 1e-14);
        }
    }
}

// A locale whose decimal separator is a comma: an installed one, or one built for the test
// in a private folder when the system has none but can compile them.
bool selectCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            return true;
        }
    }
    // The locale is loaded when selected, so the folder may go once this returns.
    const testing::ScratchFolder scratch;
    const std::string folder = scratch.path().string();
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return false;
    }
    ::setenv("LOCPATH", folder.c_str(), 1);
    const bool selected = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    ::unsetenv("LOCPATH");
    return selected;
}

TEST(NumberFormat, PointStaysThePointInACommaLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!selectCommaLocale()) {
        GTEST_SKIP() << "no locale with a decimal comma is available";
    }
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_EQ(NumberFormat::format(0.1805L), "0.1805");
    EXPECT_EQ(NumberFormat::parse("0.5"), 0.5L);
    EXPECT_FALSE(NumberFormat::parse("0,5").has_value());
    std::setlocale(LC_NUMERIC, previous.c_str());
}

}  // namespace
}  // namespace murmelix
