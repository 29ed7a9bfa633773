#include "session/scan_integer.h"

#include <gtest/gtest.h>

namespace murmelix {
namespace {

TEST(ScanInteger, ReadsLikePercentDButRefusesWhatWouldWrap) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
        const char* rest;  // what follows the number on success
    };
    const Case cases[] = {
        {"42 x", true, 42, " x"},
        {"  \t-17abc", true, -17, "abc"},
        {"+8", true, 8, ""},
        {"007", true, 7, ""},
        {"2147483647", true, 2147483647, ""},
        {"-2147483648 ", true, INT32_MIN, " "},
        {"2147483648", false, 0, ""},
        {"-2147483649", false, 0, ""},
        {"99999999999999999999", false, 0, ""},
        {"-", false, 0, ""},
        {"+ 1", false, 0, ""},
        {"x1", false, 0, ""},
        {"", false, 0, ""},
        {"   ", false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string_view text = c.text;
        int32_t value = 12345;
        EXPECT_EQ(scanInteger(text, value), c.ok);
        if (c.ok) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(text, c.rest);
        } else {
            EXPECT_EQ(value, 12345) << "a failed read must not touch the value";
            EXPECT_EQ(text, c.text) << "a failed read must not consume input";
        }
    }
}

TEST(ScanInteger, ReadsSeveralInARowOrFails) {
    std::string_view text = "1 -2\t3 4 tail";
    int32_t values[4] = {};
    ASSERT_TRUE(scanIntegers(text, values, 4));
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[1], -2);
    EXPECT_EQ(values[2], 3);
    EXPECT_EQ(values[3], 4);
    EXPECT_EQ(text, " tail");

    std::string_view shortText = "1 2 3";
    EXPECT_FALSE(scanIntegers(shortText, values, 4));
}

}  // namespace
}  // namespace murmelix
