#include "audio/wav_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/wav_bytes.h"
#include "audio/wav_reader.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
namespace fs = std::filesystem;
using testing::ScriptedUserInterface;

AudioDocument makeDocument(uint16_t channels, uint16_t bits, size_t frames,
                           std::vector<CuePoint> cues = {}) {
    AudioDocument doc;
    doc.format = WaveFormat::pcm(8000, channels, bits);
    const std::string bytes = wav::samples(frames * doc.format.blockAlign, 3);
    doc.data.assign(bytes.begin(), bytes.end());
    doc.cues = std::move(cues);
    doc.commit("/original/name.wav");
    return doc;
}

uint32_t u32At(const std::string& bytes, size_t offset) {
    return loadU32LE(reinterpret_cast<const uint8_t*>(bytes.data()) + offset);
}

class WavWriterTest : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return scratch_.file(name); }
    std::string contents(const std::string& file) const {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(file, bytes));
        return bytes;
    }
    testing::ScratchFolder scratch_;
};

TEST_F(WavWriterTest, DocumentLayoutIsByteExact) {
    AudioDocument doc = makeDocument(1, 8, 1001, {{7, 100, 50, "abc", ""}});
    ScriptedUserInterface ui;
    const std::string file = path("exact.wav");
    ASSERT_EQ(WavWriter::writeDocument(file, doc, ui), 0);
    EXPECT_TRUE(ui.messages.empty());

    std::string expected = "RIFF" + wav::u32(1144) + "WAVE";
    expected += "fmt " + wav::u32(16) + wav::u16(1) + wav::u16(1) + wav::u32(8000) +
                wav::u32(8000) + wav::u16(1) + wav::u16(8);
    expected += "data" + wav::u32(1001) + std::string(doc.data.begin(), doc.data.end());
    expected += std::string(1, '\0');
    ASSERT_EQ(expected.size(), 1046u) << "the cue chunk starts at 1046";
    expected += "cue " + wav::u32(28) + wav::u32(1);
    expected += wav::u32(7) + wav::u32(100) + "data" + wav::u32(0) + wav::u32(0) + wav::u32(100);
    expected += "LIST" + wav::u32(62) + "adtl";
    expected += "ltxt" + wav::u32(20) + wav::u32(7) + wav::u32(50) + "rgn " + std::string(8, '\0');
    expected += "labl" + wav::u32(8) + wav::u32(7) + std::string("abc\0", 4);
    expected += "note" + wav::u32(6) + wav::u32(7) + std::string(2, '\0');
    ASSERT_EQ(expected.size(), 1152u);
    EXPECT_EQ(contents(file), expected);
}

TEST_F(WavWriterTest, TextChunksArePaddedToEvenLengthAndCut) {
    struct Case {
        std::string text;
        uint32_t expectedSize;
    };
    const std::vector<Case> cases = {
        {"", 6}, {"a", 6}, {"abc", 8}, {"abcd", 10}, {std::string(300, 'x'), 260},
    };
    // No samples and one cue: labl at 44 + 36 + 12 + 28, note right after it.
    constexpr size_t kLabl = 120;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        AudioDocument doc = makeDocument(1, 16, 0, {{1, 0, 0, c.text, c.text}});
        ScriptedUserInterface ui;
        ASSERT_EQ(WavWriter::writeDocument(path("t.wav"), doc, ui), 0);
        const std::string bytes = contents(path("t.wav"));
        ASSERT_EQ(bytes.substr(kLabl, 4), "labl");
        EXPECT_EQ(u32At(bytes, kLabl + 4), c.expectedSize);
        const size_t note = kLabl + 8 + c.expectedSize;
        ASSERT_EQ(bytes.substr(note, 4), "note");
        EXPECT_EQ(u32At(bytes, note + 4), c.expectedSize);
        EXPECT_EQ(bytes.size(), note + 8 + c.expectedSize);
        EXPECT_EQ(u32At(bytes, 4), bytes.size() - 8);
    }
}

TEST_F(WavWriterTest, DocumentWithoutCuesHasEmptyCueChunkAndList) {
    AudioDocument doc = makeDocument(2, 16, 5);
    ScriptedUserInterface ui;
    ASSERT_EQ(WavWriter::writeDocument(path("none.wav"), doc, ui), 0);
    const std::string bytes = contents(path("none.wav"));
    ASSERT_EQ(bytes.size(), 44u + 20 + 12 + 12);
    EXPECT_EQ(bytes.substr(64, 4), "cue ");
    EXPECT_EQ(u32At(bytes, 68), 4u);
    EXPECT_EQ(u32At(bytes, 72), 0u);
    EXPECT_EQ(bytes.substr(76, 4), "LIST");
    EXPECT_EQ(u32At(bytes, 80), 4u);
    EXPECT_EQ(bytes.substr(84, 4), "adtl");
}

TEST_F(WavWriterTest, SavedFormatCarriesTheFileSampleRate) {
    AudioDocument doc = makeDocument(1, 16, 10);
    doc.format.samplesPerSec = 4000;  // what a speed of 50 % leaves behind
    ScriptedUserInterface ui;
    ASSERT_EQ(WavWriter::writeDocument(path("speed.wav"), doc, ui), 0);
    EXPECT_EQ(u32At(contents(path("speed.wav")), 24), 8000u);
    EXPECT_EQ(doc.format.samplesPerSec, 8000u);
}

std::vector<CuePoint> cueList(size_t count, uint32_t frames) {
    std::vector<CuePoint> cues;
    for (size_t i = 0; i < count; ++i) {
        const auto n = static_cast<uint32_t>(i);
        // Labels of odd and even lengths alternate; notes grow up to the 255-byte limit.
        cues.push_back({n + 1, (n * 37) % frames, n % 11, std::string(1 + i % 6, 'a' + i % 26),
                        "note " + std::string(i % 251, 'n')});
    }
    return cues;
}

TEST_F(WavWriterTest, DocumentsSurviveWriteAndRead) {
    struct Case {
        uint16_t channels;
        uint16_t bits;
        size_t frames;
        size_t cues;
    };
    std::vector<Case> cases;
    for (uint16_t channels : {1, 2}) {
        for (uint16_t bits : {8, 16}) {
            for (size_t cues : {0, 1, 100, 2500}) {
                cases.push_back({channels, bits, 1001 + cues, cues});
            }
        }
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.channels << " ch " << c.bits << " bit " << c.cues << " cues");
        AudioDocument doc = makeDocument(c.channels, c.bits, c.frames,
                                         cueList(c.cues, static_cast<uint32_t>(c.frames)));
        ScriptedUserInterface ui;
        const std::string file = path("round.wav");
        ASSERT_EQ(WavWriter::writeDocument(file, doc, ui), 0);
        AudioDocument back;
        ASSERT_EQ(WavReader::readFile(file, back, ui), 0);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(back.format, doc.format);
        EXPECT_EQ(back.fileSampleRate, doc.fileSampleRate);
        EXPECT_EQ(back.frameCount, doc.frameCount);
        EXPECT_EQ(back.data, doc.data);
        EXPECT_EQ(back.cues, doc.cues);
        EXPECT_EQ(back.fileName, file);
    }
}

TEST_F(WavWriterTest, ProducedSamplesBecomeTheDataChunk) {
    WaveFormat format = makeDocument(1, 8, 0).format;
    const std::vector<CuePoint> cues = {{1, 0, 2, "Segment 1", ""}, {2, 2, 1, "Segment 2", ""}};
    const auto produce = [](AtomicFile& file) { return file.write("ab") && file.write("c"); };
    ScriptedUserInterface ui;
    ASSERT_EQ(WavWriter::write(path("seq.wav"), format, 3, produce, cues, ui), 0);
    AudioDocument back;
    ASSERT_EQ(WavReader::readFile(path("seq.wav"), back, ui), 0);
    EXPECT_EQ(std::string(back.data.begin(), back.data.end()), "abc");
    EXPECT_EQ(back.cues, cues);
}

// Written front to back, so a pipe gets the same complete file as a plain target.
TEST_F(WavWriterTest, APipeGetsTheSameFile) {
    AudioDocument doc = makeDocument(2, 16, 1001, cueList(3, 1001));
    ScriptedUserInterface ui;
    ASSERT_EQ(WavWriter::writeDocument(path("plain.wav"), doc, ui), 0);
    ASSERT_EQ(::mkfifo(path("pipe.wav").c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&] { readWholeFile(path("pipe.wav"), piped); });
    EXPECT_EQ(WavWriter::writeDocument(path("pipe.wav"), doc, ui), 0);
    reader.join();
    EXPECT_EQ(piped, contents(path("plain.wav")));
    EXPECT_TRUE(ui.messages.empty());
}

// RAII for a temporary file size limit; SIGXFSZ is ignored so that writes fail instead.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST_F(WavWriterTest, FailedSavesLeaveTheOldFileAndTellWhy) {
    const std::string target = path("keep.wav");
    AudioDocument original = makeDocument(1, 8, 7);
    ScriptedUserInterface setup;
    ASSERT_EQ(WavWriter::writeDocument(target, original, setup), 0);
    const std::string before = contents(target);

    struct Case {
        const char* name;
        std::string path;
        std::string expectedMessage;
        uint32_t expectedRateAfter;  // the document's format rate after the attempt
    };
    const std::string missing = (scratch_.path() / "no" / "such" / "folder.wav").string();
    const std::vector<Case> cases = {
        {"folder missing", missing, "Can't open WAV file '" + missing + "' for writing.", 4000},
        {"target is a folder", scratch_.path().string(),
         "Can't open WAV file '" + scratch_.path().string() + "' for writing.", 4000},
        {"file size limit halfway", target,
         "Can't write to WAV file '" + target + "' (File too large).", 8000},
        {"device that is full", "/dev/full",
         "Can't write to WAV file '/dev/full' (No space left on device).", 8000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AudioDocument big = makeDocument(2, 16, 200000, cueList(3, 200000));
        big.format.samplesPerSec = 4000;
        ScriptedUserInterface ui;
        int result = 0;
        {
            FileSizeLimit limit(64 * 1024);
            result = WavWriter::writeDocument(c.path, big, ui);
        }
        EXPECT_EQ(result, 1);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "Error");
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(ui.messages[0].text, c.expectedMessage);
        EXPECT_EQ(big.format.samplesPerSec, c.expectedRateAfter);
        EXPECT_EQ(contents(target), before);
        EXPECT_EQ(scratch_.entries(), 1u) << "no temporary file may remain";
    }

    ScriptedUserInterface ui;
    const auto failing = [](AtomicFile& file) { return file.write("xy") && false; };
    EXPECT_EQ(WavWriter::write(target, original.format, 2, failing, {}, ui), 1);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Can't write to WAV file '" + target + "'."});
    EXPECT_EQ(contents(target), before);
}

}  // namespace
}  // namespace murmelix
