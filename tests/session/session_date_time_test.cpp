#include "session/session_date_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace murmelix {
namespace {

TEST(SessionDateTime, FormsOfAMoment) {
    struct Case {
        SessionDateTime moment;
        const char* stored;
        const char* display;
        const char* fileName;
    };
    const Case cases[] = {
        {{2024, 3, 5, 14, 7, 9}, "2024 03 05 14 07 09", "05.03.2024 14:07:09", "20240305_140709"},
        {{1999, 12, 31, 23, 59, 59},
         "1999 12 31 23 59 59",
         "31.12.1999 23:59:59",
         "19991231_235959"},
        {{987, 1, 1, 0, 0, 0}, "0987 01 01 00 00 00", "01.01.0987 00:00:00", "09870101_000000"},
        {{12345, 1, 2, 3, 4, 5},
         "12345 01 02 03 04 05",
         "02.01.12345 03:04:05",
         "123450102_030405"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(c.moment.storedForm(), c.stored);
        EXPECT_EQ(c.moment.displayForm(), c.display);
        EXPECT_EQ(c.moment.fileNameForm(), c.fileName);
        EXPECT_EQ(SessionDateTime::displayFormOf(c.stored), c.display);
        EXPECT_EQ(SessionDateTime::fileNameFormOf(c.stored), c.fileName);
        EXPECT_EQ(SessionDateTime::parse(c.stored), c.moment);
    }
}

TEST(SessionDateTime, StoredTextsFromFilesAreReadLikeScanf) {
    struct Case {
        const char* stored;
        const char* display;   // what the panel shows
        const char* fileName;  // empty: no proposal can be made from it
    };
    const Case cases[] = {
        {"2024 3 5 14 7 9", "05.03.2024 14:07:09", "20240305_140709"},
        {"  2024\t03 05 14 07 09 and more", "05.03.2024 14:07:09", "20240305_140709"},
        {"2024 03 05 14 07", "2024 03 05 14 07", ""},
        {"yesterday", "yesterday", ""},
        {"", "", ""},
        {"2024 03 05 14 07 99999999999", "2024 03 05 14 07 99999999999", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(SessionDateTime::displayFormOf(c.stored), c.display);
        EXPECT_EQ(SessionDateTime::fileNameFormOf(c.stored), c.fileName);
    }
}

TEST(SessionDateTime, StampsTheLocalTime) {
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved != nullptr ? saved : "";
    struct Case {
        const char* zone;
        const char* stored;
    };
    const Case cases[] = {
        {"UTC0", "2024 03 05 14 07 09"},
        {"CET-1", "2024 03 05 15 07 09"},
        {"EST5", "2024 03 05 09 07 09"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        ::setenv("TZ", c.zone, 1);
        ::tzset();
        EXPECT_EQ(SessionDateTime::fromTime(1709647629).storedForm(), c.stored);
    }
    if (saved != nullptr) {
        ::setenv("TZ", savedZone.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

}  // namespace
}  // namespace murmelix
