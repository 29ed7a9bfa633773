// Reads the same files with this program's reader and with libsndfile and compares what
// both see, in both directions: files this program writes or builds, and files libsndfile
// writes.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/wav_bytes.h"
#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
namespace fs = std::filesystem;
using testing::ScriptedUserInterface;

struct SndfileView {
    int channels = 0;
    int rate = 0;
    std::vector<int> samples;                        // full-scale 32-bit, interleaved
    std::vector<std::pair<int32_t, uint32_t>> cues;  // identifier, sample offset
};

bool readWithSndfile(const std::string& path, SndfileView& view) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return false;
    }
    view.channels = info.channels;
    view.rate = info.samplerate;
    view.samples.assign(static_cast<size_t>(info.frames * info.channels), 0);
    sf_readf_int(file, view.samples.data(), info.frames);
    uint32_t count = 0;
    if (sf_command(file, SFC_GET_CUE_COUNT, &count, sizeof count) != 0 && count <= 100) {
        SF_CUES cues{};
        sf_command(file, SFC_GET_CUE, &cues, sizeof cues);
        for (uint32_t i = 0; i < cues.cue_count; ++i) {
            view.cues.emplace_back(cues.cue_points[i].indx, cues.cue_points[i].sample_offset);
        }
    }
    sf_close(file);
    return true;
}

// The document's samples scaled the way libsndfile hands out ints.
std::vector<int> fullScale(const AudioDocument& doc) {
    std::vector<int> out;
    for (int32_t frame = 0; frame < doc.frameCount; ++frame) {
        for (int channel = 0; channel < doc.channels(); ++channel) {
            out.push_back(static_cast<int>(static_cast<uint32_t>(doc.read(channel, frame))
                                           << (32 - doc.bitsPerSample())));
        }
    }
    return out;
}

void expectSameView(const AudioDocument& doc, const SndfileView& view) {
    EXPECT_EQ(doc.channels(), view.channels);
    EXPECT_EQ(doc.fileSampleRate, view.rate);
    EXPECT_EQ(fullScale(doc), view.samples);
}

class SndfileDifferentialTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return scratch_.file(name); }
    testing::ScratchFolder scratch_;
};

TEST_F(SndfileDifferentialTest, BothReadersSeeTheSameSamplesAndCues) {
    const std::string fmt16s = wav::fmt(2, 22050, 16);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"8-bit mono", wav::riff(wav::fmt(1, 8000, 8) + wav::chunk("data", wav::samples(101)))},
        {"16-bit stereo", wav::riff(fmt16s + wav::chunk("data", wav::samples(400)))},
        {"odd data, pad byte, cues",
         wav::riff(wav::fmt(1, 11025, 8) + wav::chunk("data", wav::samples(33)) +
                   wav::cue({{1, 3}, {2, 30}}) +
                   wav::list("adtl", wav::ltxt(1, 4) + wav::text("labl", 1, "x")))},
        {"18-byte fmt and extra chunks",
         wav::riff(wav::chunk("fmt ", wav::formatRecord(1, 16000, 16) + wav::u16(0)) +
                   wav::chunk("fact", wav::u32(50)) + wav::list("INFO", wav::chunk("ISFT", "t")) +
                   wav::chunk("data", wav::samples(100)))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = path("case.wav");
        std::ofstream(file, std::ios::binary) << c.bytes;
        ScriptedUserInterface ui;
        AudioDocument doc;
        ASSERT_EQ(WavReader::readFile(file, doc, ui), 0);
        SndfileView view;
        ASSERT_TRUE(readWithSndfile(file, view));
        expectSameView(doc, view);
        ASSERT_EQ(doc.cues.size(), view.cues.size());
        for (size_t i = 0; i < doc.cues.size(); ++i) {
            EXPECT_EQ(static_cast<int32_t>(doc.cues[i].identifier), view.cues[i].first);
            EXPECT_EQ(doc.cues[i].position, view.cues[i].second);
        }
    }
}

TEST_F(SndfileDifferentialTest, WrittenDocumentsReadTheSameInLibsndfile) {
    for (uint16_t channels : {1, 2}) {
        for (uint16_t bits : {8, 16}) {
            SCOPED_TRACE(::testing::Message() << channels << " ch " << bits << " bit");
            AudioDocument doc;
            doc.format = {1,
                          channels,
                          44100,
                          44100u * channels * bits / 8,
                          static_cast<uint16_t>(channels * bits / 8),
                          bits,
                          0};
            const std::string bytes = wav::samples(channels * bits / 8 * 999 + 1, 9);
            doc.data.assign(bytes.begin(), bytes.end());
            for (uint32_t i = 0; i < 20; ++i) {
                doc.cues.push_back({i + 1, i * 40, 7, "label " + std::to_string(i), "n"});
            }
            doc.commit("");
            ScriptedUserInterface ui;
            ASSERT_EQ(WavWriter::writeDocument(path("w.wav"), doc, ui), 0);
            SndfileView view;
            ASSERT_TRUE(readWithSndfile(path("w.wav"), view));
            expectSameView(doc, view);
            ASSERT_EQ(view.cues.size(), doc.cues.size());
            for (size_t i = 0; i < doc.cues.size(); ++i) {
                EXPECT_EQ(view.cues[i].second, doc.cues[i].position);
            }
        }
    }
}

TEST_F(SndfileDifferentialTest, FilesWrittenByLibsndfileLoad) {
    struct Case {
        int channels;
        int subformat;
        int bits;
    };
    const std::vector<Case> cases = {
        {1, SF_FORMAT_PCM_U8, 8},
        {2, SF_FORMAT_PCM_U8, 8},
        {1, SF_FORMAT_PCM_16, 16},
        {2, SF_FORMAT_PCM_16, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.channels << " ch " << c.bits << " bit");
        const std::string file = path("sf.wav");
        SF_INFO info{};
        info.samplerate = 32000;
        info.channels = c.channels;
        info.format = SF_FORMAT_WAV | c.subformat;
        SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
        ASSERT_NE(out, nullptr) << sf_strerror(nullptr);
        std::vector<short> written(static_cast<size_t>(777 * c.channels));
        for (size_t i = 0; i < written.size(); ++i) {
            written[i] = static_cast<short>((static_cast<int>(i) * 997) % 65536 - 32768);
        }
        sf_writef_short(out, written.data(), 777);
        sf_close(out);

        ScriptedUserInterface ui;
        AudioDocument doc;
        ASSERT_EQ(WavReader::readFile(file, doc, ui), 0);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(doc.frameCount, 777);
        SndfileView view;
        ASSERT_TRUE(readWithSndfile(file, view));
        expectSameView(doc, view);
    }
}

}  // namespace
}  // namespace murmelix
