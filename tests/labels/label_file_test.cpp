#include <gtest/gtest.h>

#include <optional>
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
                                const std::optional<std::string>& tier = std::nullopt) {
    LabelFile::Contents contents;
    std::vector<CuePoint> cues;
    const Result parsed = LabelFile::parse(bytes, "f", contents);
    EXPECT_TRUE(parsed.ok()) << parsed.message();
    const Result made = LabelFile::cuesOf(contents, tier, "f", doc, cues);
    EXPECT_TRUE(made.ok()) << made.message();
    return cues;
}

TEST(LabelFileTest, CueTablesRoundTripThroughBothFormats) {
    // Windows-1252 "caf\xE9" comes back as UTF-8; everything else exactly, points as points
    // and empty labels as empty labels.
    const std::vector<CuePoint> table = {
        {1, 800, 4000, "hello", ""},
        {2, 2400, 8000,
         "\xC3\xBC"
         "ber \"x\"",
         ""},
        {3, 16000, 1, "tab\there", ""},
        {4, 40000, 0, "a point", ""},
        {5, 20000, 12345, "caf\xE9", ""},
        {6, 60000, 800, "", ""},
        {7, 70000, 0, "", ""},
    };
    std::vector<CuePoint> expected = table;
    expected[4].label = "caf\xC3\xA9";
    const AudioDocument doc = documentWith(table);
    for (const auto format : {LabelFile::Format::Audacity, LabelFile::Format::TextGrid}) {
        SCOPED_TRACE(format == LabelFile::Format::Audacity ? "Audacity" : "TextGrid");
        std::vector<CuePoint> back = importAll(LabelFile::format(format, doc), doc);
        std::vector<CuePoint> want = expected;
        if (format == LabelFile::Format::TextGrid) {
            // The overlapping regions land on a second interval tier and the points on a
            // point tier (read below).
            LabelFile::Contents contents;
            ASSERT_TRUE(LabelFile::parse(LabelFile::format(format, doc), "f", contents).ok());
            ASSERT_EQ(contents.tierNames(),
                      (std::vector<std::string>{"labels", "labels 2", "points"}));
            EXPECT_TRUE(contents.tiers[2].points);
            for (const char* other : {"labels 2", "points"}) {
                std::vector<CuePoint> more;
                ASSERT_TRUE(LabelFile::cuesOf(contents, other, "f", doc, more).ok());
                back.insert(back.end(), more.begin(), more.end());
            }
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
    // Praat's long form with three tiers of one name (as "Duplicate tier" leaves them), in
    // UTF-16 little-endian with CR LF, as Praat on Windows writes a text with non-ASCII.
    std::u16string mary =
        u"File type = \"ooTextFile\"\r\nObject class = \"TextGrid\"\r\n\r\nxmin = 0 \r\n"
        u"xmax = 2.3 \r\ntiers? <exists> \r\nsize = 4 \r\nitem []: \r\n";
    for (const char16_t* word : {u"Mary", u"M\u00e4ry", u"\"\"one\"\"", u"two"}) {
        const bool bell = word == std::u16string_view(u"M\u00e4ry");
        mary += std::u16string(u"    item [1]:\r\n        class = ") +
                (bell ? u"\"TextTier\"" : u"\"IntervalTier\"") + u" \r\n        name = \"" +
                (bell ? u"bell" : u"Mary") +
                u"\" \r\n        xmin = 0 \r\n        xmax = 2.3 \r\n" +
                (bell ? u"        points: size = 2 \r\n        points [1]:\r\n            number = "
                        u"0.9 \r\n            mark = \"\" \r\n        points [2]:\r\n"
                        u"            number = 1.3 \r\n            mark = \"dong\" \r\n"
                      : u"        intervals: size = 2 \r\n        intervals [1]:\r\n            "
                        u"xmin = 0 \r\n            xmax = 1 \r\n            text = \"" +
                            std::u16string(word) +
                            u"\" \r\n        intervals [2]:\r\n            xmin = 1 \r\n"
                            u"            xmax = 2.3 \r\n            text = \"\" \r\n");
    }
    const std::string maryGrid = utf16(mary, false);
    // A point tier first, unnamed interval tiers, "!" comments between the values, the
    // header older Praat versions wrote for the short form, tabs for line breaks.
    const std::string pointsFirst =
        "File type = \"ooTextFile short\"\n\"TextGrid\"\n\n0 ! start\n10 ! end\n<exists>\n3\n"
        "\"TextTier\"\t\"tones\"\t0\t10\t1\t5\t\"H*\"\n"
        "\"IntervalTier\"\t\"\"\t0\t10\t2\t0\t1\t\"unnamed\"\t1\t10\t\"\"\n"
        "! the second tier\n\"IntervalTier\" \"\" 0 10 1 0 10 \"second\"\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<std::string> tier;
        std::vector<CuePoint> cues;
    } cases[] = {
        {"Audacity with CRLF, tabs, frequency lines and point labels",
         "1\t2.5\ta\tb\r\n\\\t100.0\t2000.0\r\n\r\n3.00005\t3.00005\tp\r\n4\r\n5\tlate\n",
         std::nullopt,
         {{1, 10000, 15000, "a\tb", ""},
          {2, 30001, 0, "p", ""},
          {3, 40000, 0, "", ""},
          {4, 50000, 0, "late", ""}}},
        {"Audacity with decimal commas, as older versions wrote them in many locales",
         "0,5\t1,25\tword\r\n2,000000\t2,000000\tpoint\r\n3,5\t4.5\tmixed\r\n",
         std::nullopt,
         {{1, 5000, 7500, "word", ""}, {2, 20000, 0, "point", ""}, {3, 35000, 10000, "mixed", ""}}},
        {"Audacity label beyond the data is cut",
         "9\t12\tend\n",
         std::nullopt,
         {{1, 90000, 10000, "end", ""}}},
        {"short TextGrid, tier by name",
         shortGrid,
         "words",
         {{1, 10000, 10000, "say \"hi\"", ""}, {2, 20000, 80000, "", ""}}},
        {"short TextGrid, point tier", shortGrid, "marks", {{1, 25000, 0, "m", ""}}},
        {"short TextGrid, by default the interval tier",
         shortGrid,
         std::nullopt,
         {{1, 10000, 10000, "say \"hi\"", ""}, {2, 20000, 80000, "", ""}}},
        {"first of three tiers of one name", maryGrid, "Mary", {{1, 0, 10000, "Mary", ""}}},
        {"second of them", maryGrid, "Mary:2", {{1, 0, 10000, "\"one\"", ""}}},
        {"third of them", maryGrid, "Mary:3", {{1, 0, 10000, "two", ""}}},
        {"points with and without a mark",
         maryGrid,
         "bell",
         {{1, 9000, 0, "", ""}, {2, 13000, 0, "dong", ""}}},
        {"old short header, by default an interval tier",
         pointsFirst,
         std::nullopt,
         {{1, 0, 10000, "unnamed", ""}}},
        {"the unnamed tier by its name", pointsFirst, "", {{1, 0, 10000, "unnamed", ""}}},
        {"the second unnamed tier", pointsFirst, ":2", {{1, 0, 100000, "second", ""}}},
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
         std::nullopt,
         {{1, 0, 20000, "\xC3\x9F", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(importAll(c.bytes, doc, c.tier), c.cues);
    }
    LabelFile::Contents contents;
    ASSERT_TRUE(LabelFile::parse(maryGrid, "f", contents).ok());
    EXPECT_EQ(contents.tierNames(), (std::vector<std::string>{"Mary", "bell", "Mary:2", "Mary:3"}));
    ASSERT_TRUE(LabelFile::parse(pointsFirst, "f", contents).ok());
    EXPECT_EQ(contents.tierNames(), (std::vector<std::string>{"tones", "", ":2"}));
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
        {std::string("ooBinaryFile\x08TextGrid\0\0\0\0\0\0\0\0\x40\x02\x66\x66\x01", 34), "",
         "labels.txt: binary TextGrid files cannot be read; save it as a text file in Praat"},
        {"\"Praat chronological TextGrid text file\"\n0 2.3   ! Time domain.\n1   ! Number of "
         "tiers.\n\"IntervalTier\" \"Mary\" 0 2.3\n\n! Mary:\n1 0 2.3\n\"\"\n",
         "",
         "labels.txt, line 1: chronological TextGrid files cannot be read; save it as a text "
         "file in Praat"},
        {header + "0\n2\n<true>\n1\n", "",
         "labels.txt, line 5: '<true>' stands where <exists> or <absent> should"},
        {header + "0\n2\n<exists>\n1\n\"IntervalTier\"\n\"t\"x\n", "",
         "labels.txt, line 8: a closing quote is followed by 'x'; a quote inside a text is "
         "written twice"},
        {header + "0\n2\n<exists>\n1\n\"IntervalTier\"\n\"t\"\n0\n2\n1\n0\n2\n\"a \"b\" c\"\n", "",
         "labels.txt, line 14: a closing quote is followed by 'b'; a quote inside a text is "
         "written twice"},
        {"\x7F\x01"
         "abc\t1\tx\n",
         "", "labels.txt, line 1: start time '??abc' is not a number"},
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
