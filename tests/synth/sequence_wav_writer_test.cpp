#include "synth/sequence_wav_writer.h"

#include <gtest/gtest.h>

#include "audio/wav_reader.h"
#include "base/atomic_file.h"
#include "base/byte_order.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"
#include "synth_fixtures.h"

namespace murmelix {
namespace {

using testing::makeDocument;
using testing::ScratchFolder;
using testing::ScriptedUserInterface;

void appendText(std::string& out, const char* id, uint32_t cue, const std::string& text) {
    const uint32_t padded = static_cast<uint32_t>((text.size() + 1 + 1) / 2 * 2);
    out += id;
    appendU32LE(out, 4 + padded);
    appendU32LE(out, cue);
    out += text;
    out.append(padded - text.size(), '\0');
}

// The file the writer must produce for entries (start, length, number, label), built here
// by hand from the documented layout.
std::string expectedFile(const AudioDocument& doc, const SEQUENCE& sequence,
                         const std::vector<std::string>& labels,
                         const std::vector<std::string>& notes) {
    std::string samples;
    for (const SEGMENT& e : sequence.entries) {
        samples.append(reinterpret_cast<const char*>(doc.data.data()) + e.start * doc.frameSize,
                       static_cast<size_t>(e.length * doc.frameSize));
    }
    std::string body = "WAVEfmt ";
    appendU32LE(body, 16);
    uint8_t record[18];
    doc.format.toBytes(record);
    body.append(reinterpret_cast<const char*>(record), 16);
    body += "data";
    appendU32LE(body, static_cast<uint32_t>(samples.size()));
    body += samples;
    if (samples.size() % 2 == 1) {
        body.push_back('\0');
    }
    body += "cue ";
    appendU32LE(body, static_cast<uint32_t>(4 + 24 * sequence.entries.size()));
    appendU32LE(body, static_cast<uint32_t>(sequence.entries.size()));
    uint32_t position = 0;
    for (const SEGMENT& e : sequence.entries) {
        appendU32LE(body, static_cast<uint32_t>(e.number));
        appendU32LE(body, position);
        body += "data";
        appendU32LE(body, 0);
        appendU32LE(body, 0);
        appendU32LE(body, position);
        position += static_cast<uint32_t>(e.length);
    }
    std::string list = "adtl";
    for (size_t i = 0; i < sequence.entries.size(); ++i) {
        const SEGMENT& e = sequence.entries[i];
        list += "ltxt";
        appendU32LE(list, 20);
        appendU32LE(list, static_cast<uint32_t>(e.number));
        appendU32LE(list, static_cast<uint32_t>(e.length));
        list += "rgn ";
        list.append(8, '\0');
        appendText(list, "labl", static_cast<uint32_t>(e.number), labels[i]);
        appendText(list, "note", static_cast<uint32_t>(e.number), notes[i]);
    }
    body += "LIST";
    appendU32LE(body, static_cast<uint32_t>(list.size()));
    body += list;
    std::string file = "RIFF";
    appendU32LE(file, static_cast<uint32_t>(body.size()));
    return file + body;
}

TEST(SequenceWavWriterTest, WritesEntriesAsLabelledCueRegionsByteForByte) {
    std::vector<int> ramp(2000);
    for (size_t i = 0; i < ramp.size(); ++i) {
        ramp[i] = static_cast<int>(i) * 7 - 5000;
    }
    const AudioDocument doc = makeDocument(ramp, 22050, 2);
    SEQUENCE sequence;
    sequence.entries = {{1000, 500, 1, 3, "", false}, {0, 400, 2, 0, "a", false}};
    const ScratchFolder scratch;
    const std::string path = scratch.file("example.wav");
    ScriptedUserInterface ui;
    ASSERT_EQ(SequenceWavWriter::write(path, sequence, doc, "/rec/x.wav", ui), 0);
    EXPECT_TRUE(ui.messages.empty());

    std::string written;
    ASSERT_TRUE(readWholeFile(path, written));
    const std::string expected = expectedFile(
        doc, sequence, {"Segment 1", "Segment 2 (\"a\")"},
        {"File x.wav, 500 Samples (1000 - 1499)", "File x.wav, 400 Samples (0 - 399)"});
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
    EXPECT_EQ(loadU32LE(reinterpret_cast<const uint8_t*>(written.data()) + 40), 3600u);

    AudioDocument back;
    ASSERT_EQ(WavReader::readFile(path, back, ui), 0);
    ASSERT_EQ(back.cues.size(), 2u);
    EXPECT_EQ(back.cues[0].position, 0u);
    EXPECT_EQ(back.cues[1].position, 500u);
    EXPECT_EQ(back.cues[1].label, "Segment 2 (\"a\")");
}

TEST(SequenceWavWriterTest, CrossFadedEntriesFadeInFromSilenceAndEntriesAreCutAtTheData) {
    const AudioDocument doc = makeDocument(std::vector<int>(100, 1000));
    SEQUENCE sequence;
    sequence.entries = {
        {0, 5, 1, 0, "", true}, {90, 50, 2, 1, "", false}, {-5, 10, 3, 2, "", false}};
    const ScratchFolder scratch;
    const std::string path = scratch.file("fade.wav");
    ScriptedUserInterface ui;
    ASSERT_EQ(SequenceWavWriter::write(path, sequence, doc, "x.wav", ui), 0);
    AudioDocument back;
    ASSERT_EQ(WavReader::readFile(path, back, ui), 0);
    ASSERT_EQ(back.frameCount, 20);  // 5 faded + 10 left of the second + frames 0-4 of the third
    const int expected[5] = {0, 250, 500, 750, 1000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(back.read(0, i), expected[i]) << i;
    }
    ASSERT_EQ(back.cues.size(), 3u);
    EXPECT_EQ(back.cues[1].length, 10u);
    EXPECT_EQ(back.cues[1].note, "File x.wav, 10 Samples (90 - 99)");
    EXPECT_EQ(back.cues[2].position, 15u);
    EXPECT_EQ(back.cues[2].length, 5u);
    EXPECT_EQ(back.cues[2].note, "File x.wav, 5 Samples (0 - 4)");
}

// A cue region of length 0 reads back as reaching to the end of the data, so entries with
// no frame inside the data must not become one.
TEST(SequenceWavWriterTest, EntriesWhollyOutsideTheDataAreLeftOutAndCounted) {
    const AudioDocument doc = makeDocument(std::vector<int>(100, 1000));
    struct Case {
        const char* name;
        std::vector<SEGMENT> entries;
        std::vector<uint32_t> keptNumbers;
        std::vector<std::string> messages;
    };
    const SEGMENT inside{10, 20, 1, 0, "", false};
    const Case cases[] = {
        {"all inside", {inside}, {1}, {}},
        {"past the end",
         {inside, {500, 10, 2, 1, "", false}},
         {1},
         {"1 entry of the sequence lies outside the sample data of 'x.wav' and was left out."}},
        {"at the end, before the start, empty",
         {{100, 5, 2, 1, "", true}, inside, {-20, 10, 3, 2, "", false}, {5, 0, 4, 3, "", false}},
         {1},
         {"3 entries of the sequence lie outside the sample data of 'x.wav' and were left "
          "out."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SEQUENCE sequence;
        sequence.entries = c.entries;
        const ScratchFolder scratch;
        const std::string path = scratch.file("outside.wav");
        ScriptedUserInterface ui;
        ASSERT_EQ(SequenceWavWriter::write(path, sequence, doc, "x.wav", ui), 0);
        EXPECT_EQ(ui.texts(), c.messages);
        AudioDocument back;
        ASSERT_EQ(WavReader::readFile(path, back, ui), 0);
        std::vector<uint32_t> numbers;
        for (const CuePoint& cue : back.cues) {
            numbers.push_back(cue.identifier);
            EXPECT_GT(cue.length, 0u);
        }
        EXPECT_EQ(numbers, c.keptNumbers);
        EXPECT_EQ(back.frameCount, 20);
    }
}

}  // namespace
}  // namespace murmelix
