#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "labels/cue_identifiers.h"
#include "labels/label_file.h"

namespace murmelix {
namespace {

AudioDocument documentWith(std::vector<CuePoint> cues, int32_t rate = 8000,
                           int32_t frames = 80000) {
    AudioDocument doc;
    doc.format.formatTag = 1;
    doc.format.channels = 1;
    doc.format.bitsPerSample = 16;
    doc.format.samplesPerSec = static_cast<uint32_t>(rate);
    doc.data.assign(static_cast<size_t>(frames) * 2, 0);
    doc.cues = std::move(cues);
    doc.commit("x.wav");
    return doc;
}

std::string utf16(const std::u16string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8);
        const char low = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

std::vector<CuePoint> importAll(const std::string& bytes, const AudioDocument& doc,
                                const std::string& tier = "") {
    LabelFile::Contents contents;
    std::vector<CuePoint> cues;
    const Result parsed = LabelFile::parse(bytes, "f", contents);
    EXPECT_TRUE(parsed.ok()) << parsed.message();
    const Result made = LabelFile::cuesOf(contents, tier, "f", doc, cues);
    EXPECT_TRUE(made.ok()) << made.message();
    return cues;
}

TEST(LabelFileTest, CueTablesRoundTripThroughBothFormats) {
    // Windows-1252 "caf\xE9" comes back as UTF-8; everything else exactly.
    const std::vector<CuePoint> table = {
        {1, 800, 4000, "hello", ""},
        {2, 2400, 8000,
         "\xC3\xBC"
         "ber \"x\"",
         ""},
        {3, 16000, 1, "tab\there", ""},
        {4, 40000, 0, "to the end", ""},
        {5, 20000, 12345, "caf\xE9", ""},
    };
    std::vector<CuePoint> expected = table;
    expected[4].label = "caf\xC3\xA9";
    const AudioDocument doc = documentWith(table);
    for (const auto format : {LabelFile::Format::Audacity, LabelFile::Format::TextGrid}) {
        SCOPED_TRACE(format == LabelFile::Format::Audacity ? "Audacity" : "TextGrid");
        std::vector<CuePoint> back = importAll(LabelFile::format(format, doc), doc);
        std::vector<CuePoint> want = expected;
        if (format == LabelFile::Format::TextGrid) {
            // Interval tiers: the region to the end is written as what it covers, and the
            // overlapping ones land on a second tier (read below).
            want[3].length = 40000;
            LabelFile::Contents contents;
            ASSERT_TRUE(LabelFile::parse(LabelFile::format(format, doc), "f", contents).ok());
            ASSERT_EQ(contents.tierNames(), (std::vector<std::string>{"labels", "labels 2"}));
            std::vector<CuePoint> second;
            ASSERT_TRUE(LabelFile::cuesOf(contents, "labels 2", "f", doc, second).ok());
            back.insert(back.end(), second.begin(), second.end());
            std::sort(back.begin(), back.end(),
                      [](const CuePoint& a, const CuePoint& b) { return a.position < b.position; });
            std::sort(want.begin(), want.end(),
                      [](const CuePoint& a, const CuePoint& b) { return a.position < b.position; });
        }
        ASSERT_EQ(back.size(), want.size());
        for (size_t i = 0; i < back.size(); ++i) {
            SCOPED_TRACE(want[i].label);
            EXPECT_EQ(back[i].position, want[i].position);
            EXPECT_EQ(back[i].length, want[i].length);
            EXPECT_EQ(back[i].label, want[i].label);
        }
    }
}

TEST(LabelFileTest, ReadsWhatOtherProgramsWrite) {
    const AudioDocument doc = documentWith({}, 10000, 100000);
    const std::string shortGrid =
        "File type = \"ooTextFile\"\r\nObject class = \"TextGrid\"\r\n\r\n0\r\n10\r\n<exists>\r\n"
        "2\r\n\"TextTier\"\r\n\"marks\"\r\n0\r\n10\r\n1\r\n2.5\r\n\"m\"\r\n"
        "\"IntervalTier\"\r\n\"words\"\r\n0\r\n10\r\n3\r\n0\r\n1\r\n\"\"\r\n1\r\n2.00004\r\n"
        "\"say \"\"hi\"\"\"\r\n2.00004\r\n10\r\n\"  \"\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::string tier;
        std::vector<CuePoint> cues;
    } cases[] = {
        {"Audacity with CRLF, tabs, frequency lines and point labels",
         "1\t2.5\ta\tb\r\n\\\t100.0\t2000.0\r\n\r\n3.00005\t3.00005\tp\r\n4\r\n5\tlate\n",
         "",
         {{1, 10000, 15000, "a\tb", ""},
          {2, 30001, 0, "p", ""},
          {3, 40000, 0, "", ""},
          {4, 50000, 0, "late", ""}}},
        {"Audacity label beyond the data is cut",
         "9\t12\tend\n",
         "",
         {{1, 90000, 10000, "end", ""}}},
        {"short TextGrid, tier by name", shortGrid, "words", {{1, 10000, 10000, "say \"hi\"", ""}}},
        {"short TextGrid, point tier", shortGrid, "marks", {{1, 25000, 0, "m", ""}}},
        {"UTF-16 big-endian long TextGrid",
         utf16(u"File type = \"ooTextFile\"\nObject class = \"TextGrid\"\nxmin = 0\nxmax = 2\n"
               u"tiers? <exists>\nsize = 1\nitem []:\n    item [1]:\n        class = "
               u"\"IntervalTier\"\n        name = \"w\u00f6rds\"\n        xmin = 0\n        xmax = "
               u"2\n        intervals: size = 1\n        intervals [1]:\n            xmin = 0.5\n"
               u"            xmax = 1.5\n            text = \"\u00e4\u20ac\" ! a comment\n",
               true),
         "w\xC3\xB6rds",
         {{1, 5000, 10000, "\xC3\xA4\xE2\x82\xAC", ""}}},
        {"UTF-16 little-endian short TextGrid",
         utf16(u"File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n0\n2\n<exists>\n1\n"
               u"\"IntervalTier\"\n\"t\"\n0\n2\n1\n0\n2\n\"\u00df\"\n",
               false),
         "",
         {{1, 0, 20000, "\xC3\x9F", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(importAll(c.bytes, doc, c.tier), c.cues);
    }
}

TEST(LabelFileTest, RefusesMalformedFilesNamingTheLine) {
    const AudioDocument doc = documentWith({}, 10000, 100000);
    const std::string header = "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n";
    struct Case {
        std::string bytes;
        std::string tier;
        std::string message;
    } cases[] = {
        {"1\t2\ta\n\n\nx\t3\tb\n", "", "labels.txt, line 4: start time 'x' is not a number"},
        {"-1\t2\ta\n", "", "labels.txt, line 1: start time -1 is negative"},
        {"3\t2\ta\n", "", "labels.txt, line 1: end time 2 lies before start time 3"},
        {"1\t2\ta\n20\t21\tb\n", "",
         "labels.txt, line 2: label at 20 s starts after the end of the sound (10 s)"},
        {header + "0\n2\n<exists>\n1\n\"IntervalTier\"\n\"t\"\n0\n2\n1\n0\n\"x\"\n", "",
         "labels.txt, line 13: the end time of interval 1 of tier 't' is missing (found 'x')"},
        {header + "0\n2\n<exists>\n1\n\"IntervalTier\"\n\"t\"\n0\n2\n2\n0\n1\n\"a\"\n", "",
         "labels.txt, line 15: the file ends where the start time of interval 2 of tier 't' "
         "should follow"},
        {header + "0\n2\n<exists>\n1\n\"IntervalTier\"\n\"t\"\n0\n2\n1\n1\n0.5\n\"a\"\n", "",
         "labels.txt, line 12: interval 1 of tier 't' ends before it starts"},
        {header + "0\n2\n<exists>\n1\n\"Tier\"\n", "",
         "labels.txt, line 7: tier 1 is of class 'Tier', not \"IntervalTier\" or \"TextTier\""},
        {header + "0\n2\n<exists>\n1\n\"IntervalTier\"\n\"t\n0\n", "",
         "labels.txt, line 8: a text in quotes is not closed"},
        {"File type = \"ooBinaryFile\"\n", "",
         "labels.txt, line 1: binary TextGrid files cannot be read; save it as a text file in "
         "Praat"},
        {header + "0\n2\n<exists>\n1\n\"IntervalTier\"\n\"t\"\n0\n2\n0\n", "words",
         "labels.txt: there is no tier 'words' (the file has 't')"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        LabelFile::Contents contents;
        std::vector<CuePoint> cues;
        Result result = LabelFile::parse(c.bytes, "labels.txt", contents);
        if (result.ok()) {
            result = LabelFile::cuesOf(contents, c.tier, "labels.txt", doc, cues);
        }
        EXPECT_EQ(result.message(), c.message);
        EXPECT_TRUE(cues.empty());
    }
}

TEST(LabelFileTest, AddedCuesGetFreshIdentifiers) {
    const std::vector<CuePoint> table = {{7, 0, 10, "a", ""}, {0, 5, 0, "", ""}};
    const auto merged = CueIdentifiers::merged(table, {{1, 20, 5, "b", ""}, {2, 30, 5, "c", ""}});
    ASSERT_EQ(merged.size(), 4u);
    EXPECT_EQ(merged[2].identifier, 8u);
    EXPECT_EQ(merged[3].identifier, 9u);
    const std::vector<CuePoint> full = {{UINT32_MAX, 0, 0, "", ""}, {1, 0, 0, "", ""}};
    EXPECT_EQ(CueIdentifiers::fresh(full), 2u);
}

}  // namespace
}  // namespace murmelix
