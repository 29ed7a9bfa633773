#include "session/session_file_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace murmelix {
namespace {

const std::string kV2 =
    "# Murmelix 2.0 session file - do not edit unless you know exactly what you do!\n";
const std::string kV1 =
    "# Murmelix 1.0 session file - do not edit unless you know exactly what you do!\n";

TEST(SessionFileReader, EntryLines) {
    struct Case {
        const char* line;
        int version;
        bool ok;
        SEGMENT entry;  // start, length, number, index, label, fade
    };
    const Case cases[] = {
        {"1 2 3 4 ", 2, true, {1, 2, 3, 4, "", false}},
        {"1 2 3 4", 2, true, {1, 2, 3, 4, "", false}},
        {"1 2 3 4 ka", 2, true, {1, 2, 3, 4, "ka", false}},
        {"1 2 3 4 a b  c ", 2, true, {1, 2, 3, 4, "a b  c ", false}},
        {"1 2 3 4 [FADE]", 2, true, {1, 2, 3, 4, "", true}},
        {"1 2 3 4 [FADE]ka", 2, true, {1, 2, 3, 4, "ka", true}},
        {"1 2 3 4 [fade]", 2, true, {1, 2, 3, 4, "[fade]", false}},
        {"1 2 3 4  [FADE]", 2, true, {1, 2, 3, 4, " [FADE]", false}},
        {"-5 +6 7 -1 x", 2, true, {-5, 6, 7, -1, "x", false}},
        {"2147483647 -2147483648 0 0 ", 2, true, {2147483647, INT32_MIN, 0, 0, "", false}},
        // Spaces are counted from the second character on, whatever the numbers look like.
        {" 1 2 3 4 x", 2, true, {1, 2, 3, 4, "x", false}},
        {"  1 2 3 4 x", 2, true, {1, 2, 3, 4, "4 x", false}},
        {"1 2 3\t4 x", 2, true, {1, 2, 3, 4, "", false}},
        {"1 2 3 ", 1, true, {1, 2, 3, -1, "", false}},
        {"1 2 3", 1, true, {1, 2, 3, -1, "", false}},
        {"1 2 3 ka", 1, true, {1, 2, 3, -1, "ka", false}},
        {"1 2 3 4 ka", 1, true, {1, 2, 3, -1, "4 ka", false}},
        {"1 2 3 [FADE]", 1, true, {1, 2, 3, -1, "", true}},
        // Lines the format gives no meaning.
        {"1 2 3", 2, false, {}},
        {"1 2 3 x", 2, false, {}},
        {"1\t2\t3\t4", 2, false, {}},
        {"1 2", 1, false, {}},
        {"99999999999 1 2 3 ", 2, false, {}},
        {"", 2, false, {}},
        {"[NextSequence] ", 2, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("v") + std::to_string(c.version) + " '" + c.line + "'");
        SEGMENT entry{9, 9, 9, 9, "old", true};
        EXPECT_EQ(SessionFileReader::parseEntry(c.line, c.version, entry), c.ok);
        if (c.ok) {
            EXPECT_EQ(entry, c.entry);
        }
    }
}

TEST(SessionFileReader, HeaderSelectsVersionByItsFirst27Characters) {
    struct Case {
        std::string firstLine;
        int version;
    };
    const Case cases[] = {
        {kV2.substr(0, kV2.size() - 1), 2},
        {kV1.substr(0, kV1.size() - 1), 1},
        {"# Murmelix 2.0 session file", 2},
        {"# Murmelix 2.0 session fileXYZ", 2},
        {"# Murmelix 2.0 session fil", 0},
        {"# Murmelix 3.0 session file", 0},
        {"# murmelix 2.0 session file", 0},
        {" # Murmelix 2.0 session file", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLine);
        EXPECT_EQ(SessionFileReader::versionOf(c.firstLine), c.version);
        EXPECT_EQ(SessionFileReader::parse(c.firstLine + "\n/x.wav\n").version, c.version);
    }
}

// Shape of what was read: WAV name, per sequence its three texts and entry count, and how
// many lines were skipped.
struct Shape {
    int version;
    std::string wav;
    std::vector<std::vector<std::string>> sequences;  // date, question, answer, entry count
    int64_t unreadable;
};

Shape shapeOf(const SessionFileContents& contents) {
    Shape shape{contents.version, contents.wavFileName, {}, contents.unreadableLines};
    for (const SEQUENCE& s : contents.sequences) {
        shape.sequences.push_back(
            {s.dateTime, s.question, s.answer, std::to_string(s.entries.size())});
    }
    return shape;
}

TEST(SessionFileReader, FileStructure) {
    const std::string longText(1000, 'q');
    const std::string longPath = "/" + std::string(400, 'p') + ".wav";
    struct Case {
        const char* name;
        std::string bytes;
        Shape expected;
    };
    const Case cases[] = {
        {"empty input", "", {0, "", {}, 0}},
        {"header only", kV2, {2, "", {}, 0}},
        {"header and WAV name", kV2 + "/a/b.wav\n", {2, "/a/b.wav", {}, 0}},
        {"no final line end",
         kV2 + "/w.wav\n[NextSequence]\nd\nq\na\n1 2 3 4 ",
         {2, "/w.wav", {{"d", "q", "a", "1"}}, 0}},
        {"CR LF line ends",
         "# Murmelix 2.0 session file\r\n/w.wav\r\n[NextSequence]\r\nd\r\nq\r\n"
         "a\r\n1 2 3 4 \r\n",
         {2, "/w.wav", {{"d", "q", "a", "1"}}, 0}},
        {"marker must be exact",
         kV2 + "/w.wav\n[NextSequence]\nd\nq\na\n[NextSequence] \n[nextsequence]\n1 2 3 4 \n",
         {2, "/w.wav", {{"d", "q", "a", "1"}}, 2}},
        {"texts after a marker are taken whole",
         kV2 + "/w.wav\n[NextSequence]\n[NextSequence]\n1 2 3 4 x\n\n5 6 7 8 \n",
         {2, "/w.wav", {{"[NextSequence]", "1 2 3 4 x", "", "1"}}, 0}},
        {"entries before the first sequence and blank lines",
         kV2 + "/w.wav\n1 2 3 4 \n\n[NextSequence]\nd\nq\na\n\n1 2 3 4 \nx y\n",
         {2, "/w.wav", {{"d", "q", "a", "1"}}, 4}},
        {"file ends inside a sequence header",
         kV2 + "/w.wav\n[NextSequence]\nd\n",
         {2, "/w.wav", {{"d", "", "", "0"}}, 0}},
        {"sequence without entries",
         kV2 + "/w.wav\n[NextSequence]\nd\nq\na\n[NextSequence]\n"
               "e\nr\nb\n1 2 3 4 \n",
         {2, "/w.wav", {{"d", "q", "a", "0"}, {"e", "r", "b", "1"}}, 0}},
        {"lines far beyond 255 characters stay whole",
         kV2 + longPath + "\n[NextSequence]\nd\n" + longText + "\n" + longText + "!\n1 2 3 4 " +
             longText + "\n5 6 7 8 \n",
         {2, longPath, {{"d", longText, longText + "!", "2"}}, 0}},
        {"a lone carriage return is text",
         kV2 + "/w.wav\n[NextSequence]\nd\nq\ra\na\r\r\n",
         {2, "/w.wav", {{"d", "q\ra", "a\r", "0"}}, 0}},
        {"version 1",
         kV1 + "/w.wav\n[NextSequence]\nd\nq\na\n1 2 3 \n4 5 6 7 \n",
         {1, "/w.wav", {{"d", "q", "a", "2"}}, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Shape got = shapeOf(SessionFileReader::parse(c.bytes));
        EXPECT_EQ(got.version, c.expected.version);
        EXPECT_EQ(got.wav, c.expected.wav);
        EXPECT_EQ(got.sequences, c.expected.sequences);
        EXPECT_EQ(got.unreadable, c.expected.unreadable);
    }
}

TEST(SessionFileReader, LongLabelStaysWithItsEntry) {
    const std::string label(300, 'l');
    const auto contents = SessionFileReader::parse(
        kV2 + "/w.wav\n[NextSequence]\nd\nq\na\n10 20 1 3 " + label + "\n30 40 2 5 [FADE]\n");
    ASSERT_EQ(contents.sequences.size(), 1u);
    const auto& entries = contents.sequences.front().entries;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (SEGMENT{10, 20, 1, 3, label, false}));
    EXPECT_EQ(entries[1], (SEGMENT{30, 40, 2, 5, "", true}));
}

TEST(SessionFileReader, ByteSpanAndTextGiveTheSameResult) {
    const std::string text = kV1 + "/w.wav\n[NextSequence]\nd\nq\na\n1 2 3 x\n";
    const auto fromText = SessionFileReader::parse(text);
    const auto fromBytes = SessionFileReader::parse(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    EXPECT_EQ(fromBytes.sequences, fromText.sequences);
    ASSERT_EQ(fromText.sequences.size(), 1u);
    EXPECT_EQ(fromText.sequences.front().entries.at(0), (SEGMENT{1, 2, 3, -1, "x", false}));
}

}  // namespace
}  // namespace murmelix
