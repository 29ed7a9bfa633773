#include "audio/wav_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/wav_bytes.h"
#include "base/input_file.h"
#include "base/span_byte_source.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
using testing::ScriptedUserInterface;

const std::string kNotPcm =
    "This WAV file is not a standard PCM file. Murmelix can only process mono or stereo "
    "Windows PCM files with 8 or 16 bits per sample. Please choose another WAV file, or try "
    "to open this file in a sound editor and then save it as a Windows PCM file.";
const std::string kMismatch = "Number of found Cue points doesn't match size of cue chunk.";

// A minimal associated data list for cue identifier 1.
std::string adtlFor1() {
    return wav::list("adtl", wav::ltxt(1, 5) + wav::text("labl", 1, "one"));
}

struct LoadCase {
    const char* name;
    std::string file;
    int expectedResult;
    std::vector<std::string> expectedMessages;
    int32_t expectedDataSize;
    int32_t expectedCueCount;
};

std::vector<LoadCase> malformedFiles() {
    const std::string fmt8 = wav::fmt(1, 8000, 8);
    const std::string data4 = wav::chunk("data", wav::samples(4));
    const std::string cue1 = wav::cue({{1, 0}});
    return {
        {"empty file", "", 1, {"MMIO Error 265"}, 0, 0},
        {"no RIFF", "not a wave file, just words", 1, {"MMIO Error 265"}, 0, 0},
        {"no fmt", wav::riff(data4), 1, {"MMIO Error 265"}, 0, 0},
        {"no data", wav::riff(fmt8), 1, {"MMIO Error 265"}, 0, 0},
        {"data before fmt", wav::riff(data4 + fmt8), 1, {"MMIO Error 265"}, 0, 0},
        {"fmt cut off by the file end",
         wav::riff(wav::rawChunk("fmt ", 16, std::string(4, '\x01'))),
         1,
         {"MMIO Error 263"},
         0,
         0},
        {"RIFF size ends before data",
         wav::rawChunk("RIFF", 4 + 24, "WAVE" + fmt8 + data4),
         1,
         {"MMIO Error 265"},
         0,
         0},
        {"form type other than WAVE", wav::riff(fmt8 + data4, "AVI "), 0, {}, 4, 0},
        {"RIFF size past the end",
         wav::rawChunk("RIFF", 0xFFFFFFFFu, "WAVE" + fmt8 + data4),
         0,
         {},
         4,
         0},
        {"cue and LIST before fmt and data",
         wav::riff(cue1 + adtlFor1() + fmt8 + data4),
         0,
         {},
         4,
         0},
        {"data size past the end keeps the bytes present",
         wav::riff(fmt8 + wav::rawChunk("data", 4000, wav::samples(10))),
         0,
         {},
         10,
         0},
        {"data size of 4 GiB in a tiny file",
         wav::riff(fmt8 + wav::rawChunk("data", 0xFFFFFFFFu, wav::samples(60))),
         0,
         {},
         60,
         0},
        {"cut data hides the cues that follow",
         wav::riff(fmt8 + wav::rawChunk("data", 4000, wav::samples(10)) + cue1 + adtlFor1()),
         0,
         {},
         10 + static_cast<int32_t>(cue1.size() + adtlFor1().size()),
         0},
        {"odd data with pad byte",
         wav::riff(fmt8 + wav::chunk("data", "abc") + cue1 + adtlFor1()),
         0,
         {},
         3,
         1},
        {"odd data without pad byte loses the cues",
         wav::riff(fmt8 + wav::rawChunk("data", 3, "abc") + cue1 + adtlFor1()),
         0,
         {},
         3,
         0},
        {"cue count larger than the chunk",
         wav::riff(fmt8 + data4 + wav::chunk("cue ", wav::u32(2) + std::string(24, '\0')) +
                   adtlFor1()),
         0,
         {kMismatch},
         4,
         0},
        {"cue count smaller than the chunk",
         wav::riff(fmt8 + data4 + wav::chunk("cue ", wav::u32(1) + std::string(48, '\0')) +
                   adtlFor1()),
         0,
         {kMismatch},
         4,
         0},
        {"cue chunk cut off by the file end",
         wav::riff(fmt8 + data4 + wav::rawChunk("cue ", 52, wav::u32(2) + std::string(30, 'x'))),
         0,
         {kMismatch},
         4,
         0},
        {"cue count of 4 billion",
         wav::riff(fmt8 + data4 + wav::chunk("cue ", wav::u32(0xFFFFFFFFu))),
         0,
         {kMismatch},
         4,
         0},
        {"cue chunk too short for its count",
         wav::riff(fmt8 + data4 + wav::chunk("cue ", std::string("\x01\0", 2))),
         0,
         {kMismatch},
         4,
         0},
        {"empty cue chunk",
         wav::riff(fmt8 + data4 + wav::chunk("cue ", "") + adtlFor1()),
         0,
         {},
         4,
         0},
        {"cue without LIST", wav::riff(fmt8 + data4 + cue1), 0, {}, 4, 0},
        {"LIST before cue", wav::riff(fmt8 + data4 + adtlFor1() + cue1), 0, {}, 4, 0},
        {"fmt of 0 bytes", wav::riff(wav::chunk("fmt ", "") + data4), 1, {kNotPcm}, 0, 0},
        {"fmt of 8 bytes",
         wav::riff(wav::chunk("fmt ", wav::formatRecord(1, 8000, 8).substr(0, 8)) + data4),
         1,
         {kNotPcm},
         0,
         0},
        {"fmt of 16 bytes", wav::riff(fmt8 + data4), 0, {}, 4, 0},
        {"fmt of 18 bytes",
         wav::riff(wav::chunk("fmt ", wav::formatRecord(1, 8000, 8) + wav::u16(0)) + data4),
         0,
         {},
         4,
         0},
        {"fmt of 40 bytes",
         wav::riff(wav::chunk("fmt ", wav::formatRecord(2, 8000, 16) + std::string(24, 'e')) +
                   data4),
         0,
         {},
         4,
         0},
        {"0 channels", wav::riff(wav::fmt(0, 8000, 8) + data4), 1, {kNotPcm}, 0, 0},
        {"3 channels", wav::riff(wav::fmt(3, 8000, 8) + data4), 1, {kNotPcm}, 0, 0},
        {"24-bit", wav::riff(wav::fmt(1, 8000, 24) + data4), 1, {kNotPcm}, 0, 0},
        {"32-bit float", wav::riff(wav::fmt(1, 8000, 32, 3) + data4), 1, {kNotPcm}, 0, 0},
        {"extensible format tag",
         wav::riff(wav::fmt(1, 8000, 16, 0xFFFE) + data4),
         1,
         {kNotPcm},
         0,
         0},
        {"cue mismatch in a non-PCM file shows both messages",
         wav::riff(wav::fmt(1, 8000, 24) + data4 + wav::chunk("cue ", wav::u32(3))),
         1,
         {kMismatch, kNotPcm},
         0,
         0},
        {"empty data chunk", wav::riff(fmt8 + wav::chunk("data", "")), 0, {}, 0, 0},
    };
}

TEST(WavReaderTest, MalformedFilesLoadOrFailWithTheirMessages) {
    for (const LoadCase& c : malformedFiles()) {
        SCOPED_TRACE(c.name);
        ScriptedUserInterface ui;
        AudioDocument doc;
        EXPECT_EQ(WavReader::readBytes(wav::span(c.file), "case.wav", doc, ui), c.expectedResult);
        EXPECT_EQ(ui.texts(), c.expectedMessages);
        for (const auto& shown : ui.messages) {
            EXPECT_EQ(shown.caption, "Error");
            EXPECT_EQ(shown.icon, MessageIcon::Error);
        }
        EXPECT_EQ(doc.loaded, c.expectedResult == 0);
        EXPECT_EQ(doc.dataSize(), c.expectedDataSize);
        EXPECT_EQ(doc.cueCount(), c.expectedCueCount);
        EXPECT_FALSE(doc.changed);
    }
}

TEST(WavReaderTest, FormatRecordTakesAtMostEighteenBytes) {
    struct Case {
        const char* name;
        std::string fmtPayload;
        uint16_t expectedExtraSize;
    };
    const std::string record = wav::formatRecord(2, 22050, 16);
    const std::vector<Case> cases = {
        {"16 bytes leave the extra size 0", record, 0},
        {"18 bytes", record + wav::u16(0x1234), 0x1234},
        {"40 bytes use their first 18", record + wav::u16(22) + std::string(22, '\x7f'), 22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file =
            wav::riff(wav::chunk("fmt ", c.fmtPayload) + wav::chunk("data", wav::samples(8)));
        ScriptedUserInterface ui;
        AudioDocument doc;
        ASSERT_EQ(WavReader::readBytes(wav::span(file), "f.wav", doc, ui), 0);
        EXPECT_EQ(doc.format.formatTag, 1);
        EXPECT_EQ(doc.format.channels, 2);
        EXPECT_EQ(doc.format.samplesPerSec, 22050u);
        EXPECT_EQ(doc.format.avgBytesPerSec, 22050u * 4);
        EXPECT_EQ(doc.format.blockAlign, 4);
        EXPECT_EQ(doc.format.bitsPerSample, 16);
        EXPECT_EQ(doc.format.extraSize, c.expectedExtraSize);
    }
}

TEST(WavReaderTest, CommitDerivesFramesFromChannelsAndBits) {
    struct Case {
        const char* name;
        uint16_t channels;
        uint16_t bits;
        size_t bytes;
        int32_t frameSize;
        int32_t frameCount;
    };
    const std::vector<Case> cases = {
        {"8-bit stereo of 9 bytes", 2, 8, 9, 2, 4},
        {"8-bit mono", 1, 8, 9, 1, 9},
        {"16-bit mono odd", 1, 16, 7, 2, 3},
        {"16-bit stereo", 2, 16, 10, 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = wav::riff(wav::fmt(c.channels, 11025, c.bits) +
                                           wav::chunk("data", wav::samples(c.bytes)));
        ScriptedUserInterface ui;
        AudioDocument doc;
        ASSERT_EQ(WavReader::readBytes(wav::span(file), "/some/where/f.wav", doc, ui), 0);
        EXPECT_EQ(doc.frameSize, c.frameSize);
        EXPECT_EQ(doc.frameCount, c.frameCount);
        EXPECT_EQ(doc.fileSampleRate, 11025);
        EXPECT_EQ(doc.fileName, "/some/where/f.wav");
        EXPECT_EQ(std::string(doc.data.begin(), doc.data.end()), wav::samples(c.bytes));
    }
}

CuePoint cuePoint(uint32_t identifier, uint32_t position, uint32_t length = 0,
                  std::string label = "", std::string note = "") {
    return {identifier, position, length, std::move(label), std::move(note)};
}

struct CueCase {
    const char* name;
    std::string cueChunk;
    std::string afterCue;  // the LIST (and whatever stands around it)
    std::vector<CuePoint> expected;
};

std::vector<CueCase> cueTextCases() {
    const std::string long300(300, 'L');
    // 254 ASCII bytes, then a two-byte character across the 255-byte limit.
    const std::string utf8Across = std::string(254, 'u') + "\xC3\xA9" + "tail";
    return {
        {"lengths, labels and notes by identifier",
         wav::cue({{1, 10}, {2, 20}}),
         wav::list("adtl", wav::ltxt(2, 7) + wav::text("labl", 1, "one") + wav::ltxt(1, 3) +
                               wav::text("note", 2, "second") + wav::text("labl", 2, "two")),
         {cuePoint(1, 10, 3, "one"), cuePoint(2, 20, 7, "two", "second")}},
        {"cue point without ltxt has length 0",
         wav::cue({{4, 0}}),
         wav::list("adtl", wav::text("labl", 4, "x")),
         {cuePoint(4, 0, 0, "x")}},
        {"only the first of equal identifiers gets the texts",
         wav::cue({{5, 1}, {5, 2}}),
         wav::list("adtl", wav::ltxt(5, 9) + wav::text("labl", 5, "five")),
         {cuePoint(5, 1, 9, "five"), cuePoint(5, 2)}},
        {"identifier 0 never gets anything",
         wav::cue({{0, 3}}),
         wav::list("adtl",
                   wav::ltxt(0, 9) + wav::text("labl", 0, "zero") + wav::text("note", 0, "zero")),
         {cuePoint(0, 3)}},
        {"a later labl for the same cue replaces the earlier",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::text("labl", 1, "first") + wav::text("labl", 1, "second")),
         {cuePoint(1, 0, 0, "second")}},
        {"identifiers without a cue point are ignored",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::text("labl", 9, "nine") + wav::ltxt(9, 4)),
         {cuePoint(1, 0)}},
        {"INFO list before adtl is the one used",
         wav::cue({{1, 0}}),
         wav::list("INFO", wav::chunk("INAM", "name")) + adtlFor1(),
         {cuePoint(1, 0)}},
        {"other chunks between cue and LIST are skipped",
         wav::cue({{1, 0}}),
         wav::chunk("fact", wav::u32(4)) + adtlFor1(),
         {cuePoint(1, 0, 5, "one")}},
        {"sub-chunks of other kinds are skipped",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::chunk("file", "xyz") + wav::text("labl", 1, "kept")),
         {cuePoint(1, 0, 0, "kept")}},
        {"labl shorter than its identifier is skipped",
         wav::cue({{1, 0}}),
         wav::list("adtl",
                   wav::chunk("labl", std::string("\x01\0", 2)) + wav::text("note", 1, "n")),
         {cuePoint(1, 0, 0, "", "n")}},
        {"ltxt shorter than its length field is skipped",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::chunk("ltxt", wav::u32(1) + "\x05") + wav::text("labl", 1, "l")),
         {cuePoint(1, 0, 0, "l")}},
        {"text without terminator ends at the chunk end",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::chunk("labl", wav::u32(1) + "abc") +
                               wav::chunk("note", wav::u32(1) + "de")),
         {cuePoint(1, 0, 0, "abc", "de")}},
        {"text stops at its first zero byte",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::chunk("labl", wav::u32(1) + std::string("ab\0cd", 5))),
         {cuePoint(1, 0, 0, "ab")}},
        {"300-byte texts are cut to 255",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::text("labl", 1, long300) + wav::text("note", 1, long300)),
         {cuePoint(1, 0, 0, long300.substr(0, 255), long300.substr(0, 255))}},
        {"a cut does not split a UTF-8 character",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::text("labl", 1, utf8Across)),
         {cuePoint(1, 0, 0, std::string(254, 'u'))}},
        {"odd sub-chunk without pad byte at the list end",
         wav::cue({{1, 0}}),
         wav::list("adtl",
                   wav::text("labl", 1, "ab") + wav::rawChunk("note", 5, wav::u32(1) + "z")),
         {cuePoint(1, 0, 0, "ab", "z")}},
        {"sub-chunk size past the list end is cut to it",
         wav::cue({{1, 0}}),
         wav::list("adtl", wav::text("note", 1, "n") +
                               wav::rawChunk("labl", 0x7FFFFFFF, wav::u32(1) + "open")),
         {cuePoint(1, 0, 0, "open", "n")}},
        {"LIST cut off by the file end still gives what it holds",
         wav::cue({{1, 0}, {2, 5}}),
         wav::rawChunk("LIST", 1000, "adtl" + wav::ltxt(2, 8) + wav::text("labl", 1, "a")),
         {cuePoint(1, 0, 0, "a"), cuePoint(2, 5, 8)}},
    };
}

TEST(WavReaderTest, CueTextsFollowTheirIdentifiers) {
    for (const CueCase& c : cueTextCases()) {
        SCOPED_TRACE(c.name);
        const std::string file = wav::riff(
            wav::fmt(1, 8000, 8) + wav::chunk("data", wav::samples(40)) + c.cueChunk + c.afterCue);
        ScriptedUserInterface ui;
        AudioDocument doc;
        ASSERT_EQ(WavReader::readBytes(wav::span(file), "c.wav", doc, ui), 0);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(doc.cues, c.expected);
    }
}

TEST(WavReaderTest, ALoadReplacesTheWholePreviousDocument) {
    AudioDocument doc;
    doc.fileName = "old.wav";
    doc.changed = true;
    doc.data.assign(100, 7);
    doc.cues.push_back(cuePoint(3, 3));
    doc.format.extraSize = 9;
    const std::string good = wav::riff(wav::fmt(1, 8000, 8) + wav::chunk("data", "abcd"));
    ScriptedUserInterface ui;
    ASSERT_EQ(WavReader::readBytes(wav::span(good), "new.wav", doc, ui), 0);
    EXPECT_FALSE(doc.changed);
    EXPECT_EQ(doc.fileName, "new.wav");
    EXPECT_EQ(doc.dataSize(), 4);
    EXPECT_EQ(doc.cueCount(), 0);
    EXPECT_EQ(doc.format.extraSize, 0);

    const std::string bad = wav::riff(wav::fmt(1, 8000, 24) + wav::chunk("data", "abcd"));
    EXPECT_EQ(WavReader::readBytes(wav::span(bad), "bad.wav", doc, ui), 1);
    EXPECT_FALSE(doc.loaded);
    EXPECT_EQ(doc.fileName, "");
    EXPECT_EQ(doc.dataSize(), 0);
    EXPECT_EQ(doc.format, WaveFormat{});
}

class WavReaderFileTest : public ::testing::Test {
  protected:
    std::string put(const char* name, const std::string& bytes) const {
        const std::string path = scratch_.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    testing::ScratchFolder scratch_;
};

TEST_F(WavReaderFileTest, FilesLoadLikeTheirBytesOrReportThatTheyCannotBeOpened) {
    const std::string bytes =
        wav::riff(wav::fmt(2, 44100, 16) + wav::chunk("data", wav::samples(64)) +
                  wav::cue({{1, 2}}) + adtlFor1());
    const std::string good = put("good.wav", bytes);
    const std::string tiny = put(
        "tiny.wav", wav::riff(wav::fmt(1, 8000, 8) + wav::rawChunk("data", 0xFFFFFFF0u, "xyz")));
    const std::string empty = put("empty.wav", "");
    const std::string fifo = (scratch_.path() / "fifo.wav").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        int expectedResult;
        std::vector<std::string> expectedMessages;
        int32_t expectedDataSize;
    };
    const std::vector<Case> cases = {
        {good, 0, {}, 64},
        {tiny, 0, {}, 3},
        {empty, 1, {"MMIO Error 265"}, 0},
        {(scratch_.path() / "missing.wav").string(),
         1,
         {"Can't open WAV file '" + (scratch_.path() / "missing.wav").string() + "'."},
         0},
        {scratch_.path().string(),
         1,
         {"Can't open WAV file '" + scratch_.path().string() + "'."},
         0},
        // Endless or writerless inputs are refused at once instead of read until memory
        // runs out or waited for forever.
        {"/dev/zero", 1, {"Can't open WAV file '/dev/zero'.\nIt is not a regular file."}, 0},
        {fifo, 1, {"Can't open WAV file '" + fifo + "'.\nIt is not a regular file."}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ScriptedUserInterface ui;
        AudioDocument doc;
        doc.data.assign(5, 1);
        EXPECT_EQ(WavReader::readFile(c.path, doc, ui), c.expectedResult);
        EXPECT_EQ(ui.texts(), c.expectedMessages);
        EXPECT_EQ(doc.dataSize(), c.expectedDataSize);
    }
    ScriptedUserInterface ui;
    AudioDocument fromFile;
    AudioDocument fromBytes;
    ASSERT_EQ(WavReader::readFile(good, fromFile, ui), 0);
    ASSERT_EQ(WavReader::readBytes(wav::span(bytes), good, fromBytes, ui), 0);
    EXPECT_EQ(fromFile.data, fromBytes.data);
    EXPECT_EQ(fromFile.cues, fromBytes.cues);
    EXPECT_EQ(fromFile.format, fromBytes.format);
}

TEST_F(WavReaderFileTest, AFileThatShrinksOrVanishesWhileItLoadsGivesAMessage) {
    const std::string bytes =
        wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", wav::samples(64)) +
                  wav::cue({{1, 2}}) + adtlFor1());
    struct Case {
        const char* name;
        size_t keptBytes;  // what is left of the file once it is open
        bool removed;
    };
    const std::vector<Case> cases = {
        {"cut inside the samples", 60, false},
        {"cut before the data chunk", 20, false},
        {"emptied and removed", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = put("shrinking.wav", bytes);
        InputFile file;
        ASSERT_TRUE(file.open(path));
        std::filesystem::resize_file(path, c.keptBytes);
        if (c.removed) {
            std::filesystem::remove(path);
        }
        ScriptedUserInterface ui;
        AudioDocument doc;
        EXPECT_EQ(WavReader::readSource(file, path, doc, ui), 1);
        EXPECT_EQ(ui.texts(), std::vector<std::string>{"Can't read WAV file '" + path +
                                                       "' (the file changed while it was being "
                                                       "read)."});
        EXPECT_FALSE(doc.loaded);
    }
}

TEST(WavReaderTest, SamplesBeyondWhatADocumentHoldsAreCutToWholeFramesWithAWarning) {
    struct Case {
        uint16_t channels;
        uint16_t bits;
        size_t maxDataSize;
        int32_t expectedDataSize;
        bool warned;
    };
    // 12 sample bytes behind a size field that claims 4 GiB; a small limit stands in for
    // the 2 GiB a document can hold.
    const std::vector<Case> cases = {
        {2, 16, 7, 4, true}, {2, 16, 8, 8, true},    {1, 8, 7, 7, true},
        {1, 16, 7, 6, true}, {2, 16, 12, 12, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.channels) + "x" + std::to_string(c.bits) + " in " +
                     std::to_string(c.maxDataSize));
        const std::string file = wav::riff(wav::fmt(c.channels, 8000, c.bits) +
                                           wav::rawChunk("data", 0xFFFFFFFFu, wav::samples(12)));
        SpanByteSource source(wav::span(file));
        ScriptedUserInterface ui;
        AudioDocument doc;
        ASSERT_EQ(WavReader::readSource(source, "big.wav", doc, ui, c.maxDataSize), 0);
        EXPECT_EQ(doc.dataSize(), c.expectedDataSize);
        const auto samples = file.end() - 12;
        EXPECT_EQ(doc.data, std::vector<uint8_t>(samples, samples + c.expectedDataSize));
        ASSERT_EQ(ui.messages.size(), c.warned ? 1u : 0u);
        if (c.warned) {
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
            EXPECT_NE(ui.messages[0].text.find("'big.wav'"), std::string::npos);
            EXPECT_NE(ui.messages[0].text.find("whole frames"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace murmelix
