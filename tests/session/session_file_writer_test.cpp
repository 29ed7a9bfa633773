#include "session/session_file_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "base/atomic_file.h"
#include "session/session_file_reader.h"
#include "support/scratch_folder.h"

namespace murmelix {
namespace {

namespace fs = std::filesystem;

const std::string kHeader =
    "# Murmelix 2.0 session file - do not edit unless you know exactly what you do!\n";

std::list<SEQUENCE> twoSequences() {
    return {
        {"2024 03 05 14 07 09",
         "Who?",
         "Nobody",
         {{1000, 500, 1, 12, "", false}, {0, 400, 2, 0, "a", false}, {7, 8, 3, 1, "", true}}},
        {"2024 03 05 14 09 00", "", "", {}},
    };
}

TEST(SessionFileWriter, WritesVersion2LineByLine) {
    EXPECT_EQ(SessionFileWriter::render("/home/u/speech.wav", twoSequences()),
              kHeader +
                  "/home/u/speech.wav\n"
                  "[NextSequence]\n2024 03 05 14 07 09\nWho?\nNobody\n"
                  "1000 500 1 12 \n0 400 2 0 a\n7 8 3 1 [FADE]\n"
                  "[NextSequence]\n2024 03 05 14 09 00\n\n\n");
    EXPECT_EQ(SessionFileWriter::render("", {}), kHeader + "\n");
}

TEST(SessionFileWriter, RoundTrips) {
    const std::string longText(700, 'x');
    struct Case {
        const char* name;
        std::string wav;
        std::list<SEQUENCE> sequences;
    };
    const Case cases[] = {
        {"two sequences", "/w.wav", twoSequences()},
        {"empty session", "/w.wav", {}},
        {"fade with empty label", "/w.wav", {{"d", "q", "a", {{1, 2, 3, 4, "", true}}}}},
        {"texts that look like markers and labels with spaces",
         "/w.wav",
         {{"[NextSequence]", "[NextSequence] ", "1 2 3 4 ", {{1, 2, 3, -1, " a b ", false}}}}},
        {"long texts",
         "/" + longText + ".wav",
         {{"d", longText, longText, {{INT32_MIN, INT32_MAX, 0, -1, longText, false}}}}},
        {"bytes of any code page",
         "/w\xe9.wav",
         {{"d", "caf\xe9 \x80", "\x01\x7f", {{1, 2, 3, 4, "\xff", false}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = SessionFileWriter::render(c.wav, c.sequences);
        const auto read = SessionFileReader::parse(text);
        EXPECT_EQ(read.version, 2);
        EXPECT_EQ(read.wavFileName, c.wav);
        EXPECT_EQ(read.sequences, c.sequences);
        EXPECT_EQ(read.unreadableLines, 0);
    }
}

TEST(SessionFileWriter, Version1IsWrittenBackAsVersion2WithUnknownIndex) {
    const auto old = SessionFileReader::parse(
        "# Murmelix 1.0 session file - do not edit unless you know exactly what you do!\r\n"
        "C:\\wav\\x.wav\r\n[NextSequence]\r\n2001 02 03 04 05 06\r\nq\r\na\r\n"
        "100 50 1 \r\n200 60 2 [FADE]\r\n300 70 3 ka\r\n");
    ASSERT_EQ(old.version, 1);
    EXPECT_EQ(SessionFileWriter::render(old.wavFileName, old.sequences),
              kHeader +
                  "C:\\wav\\x.wav\n[NextSequence]\n2001 02 03 04 05 06\nq\na\n"
                  "100 50 1 -1 \n200 60 2 -1 [FADE]\n300 70 3 -1 ka\n");
}

TEST(SessionFileWriter, LineBreaksInsideTextsCannotShiftTheFile) {
    const std::list<SEQUENCE> sequences = {
        {"d\r", "line one\nline two", "x\r\n[NextSequence]", {{1, 2, 3, 4, "a\nb\r", false}}}};
    const auto read = SessionFileReader::parse(SessionFileWriter::render("/w\n.wav", sequences));
    EXPECT_EQ(read.wavFileName, "/w .wav");
    ASSERT_EQ(read.sequences.size(), 1u);
    EXPECT_EQ(read.sequences.front().question, "line one line two");
    EXPECT_EQ(read.sequences.front().dateTime, "d ");
    EXPECT_EQ(read.sequences.front().answer, "x\r [NextSequence]");
    EXPECT_EQ(read.sequences.front().entries, (std::vector<SEGMENT>{{1, 2, 3, 4, "a b ", false}}));
    EXPECT_EQ(read.unreadableLines, 0);
}

TEST(SessionFileWriter, UnreadableLinesAreWrittenBackAtTheirPlace) {
    const std::string sequence = "[NextSequence]\nd\nq\na\n";
    const char* const cases[] = {
        "before the first sequence\n1 2 3 4 \n",
        "\n",
        "1 2 3 4 \nnot an entry\n\n5 6 7 8 x\n3 4\n",
        "1 2 3 4 \n1 2\n",
        "kept\r\r\n1 2 3 4 \n",
    };
    for (const char* lines : cases) {
        SCOPED_TRACE(lines);
        const std::string text =
            kHeader + "/w.wav\n" + lines + sequence + lines + sequence + "9 9 9 9 \n" + lines;
        const auto read = SessionFileReader::parse(text);
        EXPECT_GT(read.unreadableLines, 0);
        EXPECT_EQ(SessionFileWriter::render(read.wavFileName, read.sequences, read.keptLines),
                  text);
    }
}

class SessionFileSaveTest : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return scratch_.file(name); }
    std::string contentsOf(const std::string& file) const {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(file, bytes));
        return bytes;
    }
    testing::ScratchFolder scratch_;
};

TEST_F(SessionFileSaveTest, SavesAndReplaces) {
    const std::string target = path("s.oqt");
    ASSERT_TRUE(SessionFileWriter::save(target, "/old.wav", {}).ok());
    ASSERT_TRUE(SessionFileWriter::save(target, "/w.wav", twoSequences()).ok());
    EXPECT_EQ(contentsOf(target), SessionFileWriter::render("/w.wav", twoSequences()));
    EXPECT_EQ(scratch_.entries(), 1u);
}

TEST_F(SessionFileSaveTest, FailedSavesLeaveTheOldFileAsItWas) {
    const std::string target = path("keep.oqt");
    ASSERT_TRUE(SessionFileWriter::save(target, "/w.wav", twoSequences()).ok());
    const std::string before = contentsOf(target);
    fs::create_directory(path("folder.oqt"));

    struct Case {
        const char* name;
        std::string path;
        SessionFileWriter::Status status;
    };
    const Case creations[] = {
        {"target is a folder", path("folder.oqt"), SessionFileWriter::Status::CannotCreate},
        {"folder missing", path("missing/s.oqt"), SessionFileWriter::Status::CannotCreate},
        {"WAV name with a line break", target, SessionFileWriter::Status::UnstorableWavName},
    };
    for (const Case& c : creations) {
        SCOPED_TRACE(c.name);
        const std::string wav =
            c.status == SessionFileWriter::Status::UnstorableWavName ? "/a\nb.wav" : "/w.wav";
        EXPECT_EQ(SessionFileWriter::save(c.path, wav, {}).status, c.status);
    }

    // Writing itself fails: the process may not make files larger than 1 KiB.
    std::list<SEQUENCE> big = {{"d", "q", "a", std::vector<SEGMENT>(10000, {1, 2, 3, 4, "x"})}};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = SessionFileWriter::save(target, "/new.wav", big);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result.status, SessionFileWriter::Status::WriteFailed);
    EXPECT_EQ(result.error, EFBIG);

    EXPECT_EQ(contentsOf(target), before);
    EXPECT_EQ(scratch_.entries(), 2u) << "only the old file and the folder; no temporary file left";
}

}  // namespace
}  // namespace murmelix
