#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/ini_value.h"
#include "base/atomic_file.h"
#include "support/scratch_folder.h"

namespace murmelix {
namespace {

using testing::ScratchFolder;

TEST(IniFileTest, ReadsIntegersAsTheProfileFunctionsDo) {
    struct Case {
        const char* value;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {"42", 42},
        {"  -17  ", -17},
        {"+5", 5},
        {"0x10", 16},
        {"0X1f", 31},
        {"0xFFFFFFFF", -1},
        {"0x", 7},
        {"0x1G", 7},
        {"0x100000000", 7},
        {"012", 12},
        {"12abc", 7},
        {"", 7},
        {"abc", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 7},
        {"1.5", 7},
        {"-", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << '"' << c.value << '"');
        const IniFile ini(std::string("[S]\nk=") + c.value + "\n");
        EXPECT_EQ(ini.readInteger("S", "k", 7), c.expected);
    }
    EXPECT_EQ(IniFile("[S]\n").readInteger("S", "k", 7), 7);
}

TEST(IniFileTest, ReadsBoolsAndFloats) {
    struct Case {
        const char* value;
        bool expectedBool;     // fallback true
        double expectedFloat;  // fallback -1
    };
    const std::vector<Case> cases = {
        {"1", true, 1.0},    {"0", false, 0.0},     {"-3", true, -3.0}, {"0x0", false, -1.0},
        {"yes", true, -1.0}, {"3.8", true, 3.8},    {"0.5", true, 0.5}, {"1E-5", true, 1e-5},
        {"3,8", true, -1.0}, {"1E999", true, -1.0}, {"", true, -1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const IniFile ini(std::string("[S]\nk=") + c.value + "\n");
        EXPECT_EQ(ini.readBool("S", "k", true), c.expectedBool);
        EXPECT_EQ(ini.readFloat("S", "k", -1.0), c.expectedFloat);
    }
}

TEST(IniFileTest, FloatsRoundTripInTheGeneralNumberFormat) {
    const std::vector<std::pair<double, const char*>> cases = {
        {3.8, "3.8"}, {0.5, "0.5"}, {1e-5, "1E-5"}, {-0.25, "-0.25"}, {0.0001, "0.0001"}};
    for (const auto& [value, text] : cases) {
        IniFile ini;
        ASSERT_TRUE(ini.writeFloat("S", "k", value));
        EXPECT_EQ(ini.value("S", "k"), std::string(text));
        EXPECT_EQ(IniFile(ini.text()).readFloat("S", "k", 9.0), value) << text;
    }
}

TEST(IniFileTest, LimitsStringsTo2047Bytes) {
    const std::string euro = "\xE2\x82\xAC";
    struct Case {
        std::string stored;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {std::string(2047, 'a'), std::string(2047, 'a')},
        {std::string(2048, 'b'), std::string(2047, 'b')},
        {std::string(5000, 'c'), std::string(2047, 'c')},
        // A character cut by the limit goes whole; one that just fits stays.
        {std::string(2045, 'd') + euro, std::string(2045, 'd')},
        {std::string(2044, 'e') + euro + "x", std::string(2044, 'e') + euro},
        {"  padded value  ", "padded value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.size());
        const IniFile ini("[S]\nk=" + c.stored + "\n");
        EXPECT_EQ(ini.readString("S", "k", "x"), c.expected);
    }
    EXPECT_EQ(IniFile("").readString("S", "k", "fallback"), "fallback");
}

TEST(IniFileTest, FindsNamesWithoutRegardToCaseAndFirstOneWins) {
    const IniFile ini(
        "; comment=1\r\n"
        "orphan=9\r\n"
        "  [ Segments ]  \r\n"
        "  SegmentDuration   =  90  \r\n"
        "segmentduration=50\r\n"
        "=nameless\r\n"
        "no equals sign\r\n"
        "[PLAYOQT]\n"
        "[segments]\n"
        "Overlap=1\n");
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"SEGMENTS", "SEGMENTDURATION", "90"}, {"segments", "segmentDuration", "90"},
        {"SEGMENTS", "Overlap", std::nullopt}, {"SEGMENTS", "orphan", std::nullopt},
        {"SEGMENTS", "", std::nullopt},        {"PLAYOQT", "RandomPlay", std::nullopt},
        {"comment", "1", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.section << "/" << c.key);
        EXPECT_EQ(ini.value(c.section, c.key), c.expected);
    }
}

TEST(IniFileTest, WritesInPlaceAndKeepsEverythingElse) {
    const std::string original =
        "\xEF\xBB\xBF[SEGMENTS]\r\n"
        "; hand-written note\r\n"
        "segmentduration=90\r\n"
        "Foreign=kept\r\n"
        "\r\n"
        "; belongs to the next section\r\n"
        "[Other]\r\n"
        "x=1";
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Segments", "SegmentDuration", "80",
         "\xEF\xBB\xBF[SEGMENTS]\n; hand-written note\nsegmentduration=80\nForeign=kept\n\n"
         "; belongs to the next section\n[Other]\nx=1\n"},
        {"SEGMENTS", "Overlap", "1",
         "\xEF\xBB\xBF[SEGMENTS]\n; hand-written note\nsegmentduration=90\nForeign=kept\n"
         "Overlap=1\n\n; belongs to the next section\n[Other]\nx=1\n"},
        {"PLAYOQT", "RandomPlay", "0",
         "\xEF\xBB\xBF[SEGMENTS]\n; hand-written note\nsegmentduration=90\nForeign=kept\n\n"
         "; belongs to the next section\n[Other]\nx=1\n\n[PLAYOQT]\nRandomPlay=0\n"},
        {"OTHER", "y", " spaced ",
         "\xEF\xBB\xBF[SEGMENTS]\n; hand-written note\nsegmentduration=90\nForeign=kept\n\n"
         "; belongs to the next section\n[Other]\nx=1\ny= spaced \n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        IniFile ini(original);
        ASSERT_TRUE(ini.writeString(c.section, c.key, c.value));
        EXPECT_EQ(ini.text(), c.expected);
        EXPECT_EQ(IniFile(ini.text()).readString(c.section, c.key, "?"), IniValue::trim(c.value));
    }
    // A key added to one section moves the sections behind it; they are still found.
    IniFile ini("[A]\nk=1\n[B]\nm=1\n");
    ASSERT_TRUE(ini.writeString("A", "n", "2") && ini.writeString("B", "m", "3"));
    EXPECT_EQ(ini.text(), "[A]\nk=1\nn=2\n[B]\nm=3\n");
}

TEST(IniFileTest, RefusesWritesThatWouldNotReadBack) {
    struct Case {
        const char* section;
        const char* key;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"S", "k", "line\nbreak"},
        {"S", "k", "carriage\rreturn"},
        {"S", "k", std::string("a\0b", 3)},
        {"", "k", "v"},
        {"S]", "k", "v"},
        {"S", "", "v"},
        {"S", "a=b", "v"},
        {"S", " k", "v"},
        {"S", "[k", "v"},
        {"S", ";k", "v"},
        {"S\n", "k", "v"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.section << "/" << c.key);
        IniFile ini("[S]\nk=old\n");
        EXPECT_FALSE(ini.writeString(c.section, c.key, c.value));
        EXPECT_EQ(ini.text(), "[S]\nk=old\n");
    }
}

TEST(IniFileTest, SavesAtomicallyAndLeavesTheOldFileOnFailure) {
    ScratchFolder folder;
    const std::string good = folder.file("murmelix.ini");
    const std::string asFolder = folder.file("folder.ini");
    std::filesystem::create_directory(asFolder);
    IniFile ini("[S]\nk=new\n");
    {
        IniFile old("[S]\nk=old\n");
        ASSERT_TRUE(old.saveFile(good));
    }
    struct Case {
        std::string path;
        bool ok;
    };
    const std::vector<Case> cases = {
        {folder.file("missing/murmelix.ini"), false},
        {asFolder, false},
        {good, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        int error = -1;
        EXPECT_EQ(ini.saveFile(c.path, &error), c.ok);
    }
    std::string contents;
    ASSERT_TRUE(readWholeFile(good, contents));
    EXPECT_EQ(contents, "[S]\nk=new\n");
    EXPECT_TRUE(std::filesystem::is_directory(asFolder));
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
    // No temporary file is left behind.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2u);
}

TEST(IniFileTest, ReadFileTellsMissingFromUnreadable) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.file("dir"));
    ASSERT_TRUE(IniFile("[S]\nk=1\n").saveFile(folder.file("a.ini")));
    struct Case {
        std::string path;
        IniFile::ReadResult expected;
        bool hasKey;
    };
    const std::vector<Case> cases = {
        {folder.file("a.ini"), IniFile::ReadResult::Read, true},
        {folder.file("none.ini"), IniFile::ReadResult::Missing, false},
        {folder.file("dir"), IniFile::ReadResult::Failed, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        IniFile ini("[S]\nk=stale\n");
        int error = 0;
        EXPECT_EQ(ini.readFile(c.path, &error), c.expected);
        EXPECT_EQ(ini.value("S", "k").has_value(), c.hasKey);
        EXPECT_NE(ini.value("S", "k"), std::optional<std::string>("stale"));
    }
}

}  // namespace
}  // namespace murmelix
