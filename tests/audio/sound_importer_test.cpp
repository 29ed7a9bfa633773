// The importer against files libsndfile writes in every encoding it has here, against sox's
// decoding of the same files, and against marker chunks stated byte by byte.
#include "audio/sound_importer.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "audio/wav_bytes.h"
#include "base/path_text.h"
#include "base/span_byte_source.h"
#include "support/scratch_folder.h"
#include "support/sound_files.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;

using testing::writeSndfile;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// sox's decoding, as float, interleaved.
std::vector<float> soxDecode(const std::string& path, const std::string& raw) {
    const std::string command = "sox '" + path + "' -t raw -e float -b 32 '" + raw + "'";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    const std::string bytes = slurp(raw);
    std::vector<float> out(bytes.size() / 4);
    std::memcpy(out.data(), bytes.data(), out.size() * 4);
    return out;
}

std::vector<int> documentSamples(const AudioDocument& doc) {
    std::vector<int> out;
    for (int32_t f = 0; f < doc.frameCount; ++f) {
        for (int c = 0; c < doc.channels(); ++c) {
            out.push_back(doc.read(c, f));
        }
    }
    return out;
}

class SoundImporterTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return scratch_.file(name); }
    testing::ScratchFolder scratch_;
};

TEST_F(SoundImporterTest, EveryEncodingBecomesTheDocumentSoxHears) {
    // weights: how the document's channels come from sox's channels (one row per output);
    // tolerance in steps of the document: 0 where nothing needs rounding, else 2 (dither of
    // +/-1 step plus the rounding).
    const double k = 0.7071067811865476;
    const std::vector<std::vector<double>> stereo = {{1, 0}, {0, 1}};
    const std::vector<std::vector<double>> mono = {{1}};
    const std::vector<std::vector<double>> quad = {{1 / (1 + k), 0, k / (1 + k), 0},
                                                   {0, 1 / (1 + k), 0, k / (1 + k)}};
    const double s6 = 1 + 2 * k;
    const std::vector<std::vector<double>> six = {{1 / s6, 0, k / s6, 0, k / s6, 0},
                                                  {0, 1 / s6, k / s6, 0, 0, k / s6}};
    struct Case {
        const char* file;
        int format;
        int channels;
        const char* description;
        int bits;
        std::vector<std::vector<double>> weights;
        int tolerance;
    } cases[] = {
        {"pcm24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, "Imported: 24-bit 8000 Hz mono WAV", 16,
         mono, 2},
        {"pcm32.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 2, "Imported: 32-bit 8000 Hz stereo WAV",
         16, stereo, 2},
        {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2,
         "Imported: 32-bit float 8000 Hz stereo WAV", 16, stereo, 2},
        {"ext16.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 2,
         "Imported: 16-bit 8000 Hz stereo WAV (extensible)", 16, stereo, 0},
        {"rf64.wav", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 1, "Imported: 16-bit 8000 Hz mono RF64", 16,
         mono, 0},
        {"rifx.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG, 2,
         "Imported: 16-bit 8000 Hz stereo RIFX", 16, stereo, 0},
        {"pcm16.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2, "Imported: 16-bit 8000 Hz stereo AIFF",
         16, stereo, 0},
        {"pcm24.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1, "Imported: 24-bit 8000 Hz mono FLAC",
         16, mono, 2},
        {"u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 2, "Imported: 8-bit 8000 Hz stereo WAV", 8,
         stereo, 0},
        {"alaw.wav", SF_FORMAT_WAV | SF_FORMAT_ALAW, 1, "Imported: A-law 8000 Hz mono WAV", 16,
         mono, 0},
        {"ulaw.wav", SF_FORMAT_WAV | SF_FORMAT_ULAW, 1, "Imported: mu-law 8000 Hz mono WAV", 16,
         mono, 0},
        {"ima.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1, "Imported: IMA ADPCM 8000 Hz mono WAV",
         16, mono, 0},
        {"ms.wav", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 2, "Imported: MS ADPCM 8000 Hz stereo WAV",
         16, stereo, 0},
        {"quad.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4, "Imported: 16-bit 8000 Hz 4 channels WAV",
         16, quad, 2},
        {"six.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 6,
         "Imported: 16-bit 8000 Hz 6 channels FLAC", 16, six, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string file = path(c.file);
        // sox here reads no FLAC file libsndfile writes: sox makes those from a WAV file.
        const bool flac = (c.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC;
        const std::string written = flac ? path("for-sox.wav") : file;
        const int format = flac ? (c.format & ~SF_FORMAT_TYPEMASK) | SF_FORMAT_WAV : c.format;
        ASSERT_TRUE(writeSndfile(written, format, c.channels, 8000, 2000, 1.5));
        if (flac) {
            ASSERT_EQ(std::system(("sox '" + written + "' '" + file + "'").c_str()), 0);
        }
        ImportedSound imported;
        ASSERT_TRUE(SoundImporter::importFile(file, {}, {}, imported).ok());
        const AudioDocument& doc = imported.document;
        EXPECT_EQ(imported.description, c.description);
        EXPECT_EQ(imported.proposedName, PathText::withoutExtension(file) + ".wav");
        EXPECT_TRUE(doc.loaded && doc.changed && doc.fileName.empty());
        EXPECT_EQ(doc.bitsPerSample(), c.bits);
        EXPECT_EQ(doc.fileSampleRate, 8000);
        EXPECT_EQ(imported.clippedSamples, (c.format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT);
        const std::vector<float> heard = soxDecode(file, path("sox.raw"));
        // sox also decodes the padding of the last ADPCM block.
        ASSERT_GE(heard.size(), static_cast<size_t>(2000 * c.channels)) << "sox decodes it";
        ASSERT_GE(doc.frameCount, 2000);  // ADPCM: up to the end of the last block
        ASSERT_EQ(doc.channels(), static_cast<int>(c.weights.size()));
        const std::vector<int> got = documentSamples(doc);
        const double scale = c.bits == 8 ? 128 : 32768;
        int worst = 0;
        for (int f = 0; f < 2000; ++f) {
            for (size_t o = 0; o < c.weights.size(); ++o) {
                double value = 0;
                for (int i = 0; i < c.channels; ++i) {
                    value += c.weights[o][static_cast<size_t>(i)] *
                             heard[static_cast<size_t>(f * c.channels + i)];
                }
                const double expected = std::clamp(std::round(value * scale), -scale, scale - 1);
                const int diff = static_cast<int>(
                    std::abs(expected - got[static_cast<size_t>(f) * c.weights.size() + o]));
                worst = std::max(worst, diff);
            }
        }
        EXPECT_LE(worst, c.tolerance);
    }
}

TEST_F(SoundImporterTest, LossyAndRareFormatsImportWhereLibsndfileHasThem) {
    struct Case {
        const char* file;
        int format;
        const char* description;
    } cases[] = {
        {"v.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, "Imported: 48000 Hz stereo Ogg Vorbis"},
        {"o.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, "Imported: 48000 Hz stereo Ogg Opus"},
        {"m.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, "Imported: 48000 Hz stereo MP3"},
        {"c.caf", SF_FORMAT_CAF | SF_FORMAT_PCM_24, "Imported: 24-bit 48000 Hz stereo CAF"},
        {"w.w64", SF_FORMAT_W64 | SF_FORMAT_DOUBLE, "Imported: 64-bit float 48000 Hz stereo W64"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (!writeSndfile(path(c.file), c.format, 2, 48000, 48000)) {
            GTEST_LOG_(INFO) << c.file << ": libsndfile here cannot write it";
            continue;
        }
        ImportedSound imported;
        ASSERT_TRUE(SoundImporter::importFile(path(c.file), {}, {}, imported).ok());
        EXPECT_EQ(imported.description, c.description);
        // Lossy codecs add their own delay and padding: about a second either way.
        EXPECT_NEAR(imported.document.frameCount, 48000, 3000);
        const std::vector<int> got = documentSamples(imported.document);
        const auto loud = std::count_if(got.begin(), got.end(), [](int v) { return v > 8000; });
        EXPECT_GT(loud, 10000) << "the tones came through";
    }
}

TEST_F(SoundImporterTest, OptionsChooseChannelsAndResolution) {
    ASSERT_TRUE(writeSndfile(path("quad.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4, 8000, 500));
    ASSERT_TRUE(writeSndfile(path("st.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000, 500));
    ImportedSound source;
    ASSERT_TRUE(SoundImporter::importFile(path("st.wav"), {}, {}, source).ok());
    const auto sourceSamples = documentSamples(source.document);
    struct Case {
        const char* name;
        const char* file;
        SoundImportOptions options;
        int channels;
        int bits;
    } cases[] = {
        {"stereo to mono", "st.wav", {.channels = 1}, 1, 16},
        {"16 to 8 bits", "st.wav", {.bits = 8}, 2, 8},
        {"channels 3 and 4 of four", "quad.wav", {.left = 2, .right = 3}, 2, 16},
        {"mono of the pair", "quad.wav", {.channels = 1, .left = 1, .right = 1}, 1, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportedSound imported;
        ASSERT_TRUE(SoundImporter::importFile(path(c.file), c.options, {}, imported).ok());
        const AudioDocument& doc = imported.document;
        ASSERT_EQ(doc.channels(), c.channels);
        ASSERT_EQ(doc.bitsPerSample(), c.bits);
        ASSERT_EQ(doc.frameCount, 500);
    }
    // The values, where they follow from the source without rounding.
    ImportedSound mono;
    ASSERT_TRUE(SoundImporter::importFile(path("st.wav"), {.channels = 1}, {}, mono).ok());
    ImportedSound eight;
    ASSERT_TRUE(SoundImporter::importFile(path("st.wav"), {.bits = 8}, {}, eight).ok());
    for (int f = 0; f < 500; ++f) {
        const int left = sourceSamples[static_cast<size_t>(2 * f)];
        const int right = sourceSamples[static_cast<size_t>(2 * f + 1)];
        EXPECT_NEAR(mono.document.read(0, f), (left + right) / 2.0, 1.5) << f;
        EXPECT_NEAR(eight.document.read(0, f), left / 256.0, 1.5) << f;
    }
    ImportedSound pair;
    ASSERT_TRUE(
        SoundImporter::importFile(path("quad.wav"), {.left = 2, .right = 3}, {}, pair).ok());
    SF_INFO info{};
    SNDFILE* file = sf_open(path("quad.wav").c_str(), SFM_READ, &info);
    std::vector<short> raw(2000);
    sf_readf_short(file, raw.data(), 500);
    sf_close(file);
    for (int f = 0; f < 500; ++f) {
        EXPECT_EQ(pair.document.read(0, f), raw[static_cast<size_t>(4 * f + 2)]);
        EXPECT_EQ(pair.document.read(1, f), raw[static_cast<size_t>(4 * f + 3)]);
    }
}

// Bytes that stop being there after `good` bytes have been read, as a file that shrinks.
class ShrinkingSource : public SpanByteSource {
  public:
    ShrinkingSource(std::span<const uint8_t> bytes, uint64_t good)
        : SpanByteSource(bytes), good_(good) {}
    bool read(uint64_t offset, void* out, size_t count) override {
        if (offset + count > good_) {
            failed_ = true;
            return false;
        }
        return SpanByteSource::read(offset, out, count);
    }
    std::string failure() const override { return failed_ ? "the file shrank" : ""; }

  private:
    uint64_t good_;
    bool failed_ = false;
};

TEST_F(SoundImporterTest, RefusalsNameTheFileAndTheCause) {
    ASSERT_TRUE(writeSndfile(path("nine.wav"), SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 9, 8000, 10));
    ASSERT_TRUE(writeSndfile(path("long.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 40000));
    std::ofstream(path("x.bin"), std::ios::binary) << "not sound at all, only some text";
    // Files whose lists run past their end, which libsndfile would never return from.
    std::ofstream(path("list.wav"), std::ios::binary)
        << wav::riff(wav::fmt(1, 8000, 16) + wav::rawChunk("LIST", 1000, "INFOab"));
    std::ofstream(path("entry.wav"), std::ios::binary)
        << wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", "abcd") +
                     wav::chunk("LIST", "INFO" + wav::rawChunk("INAM", 500, "abc")));
    const std::string dir = scratch_.path().string();
    struct Case {
        std::string file;
        SoundImportOptions options;
        std::string message;
    } cases[] = {
        {"x.bin", {}, "'" + dir + "/x.bin' is not a sound file libsndfile knows (unknown format)."},
        {"list.wav",
         {},
         "'" + dir +
             "/list.wav' cannot be read: its LIST chunk at byte 36 claims 1000 bytes, but "
             "only 6 follow (the file is damaged)."},
        {"entry.wav",
         {},
         "'" + dir +
             "/entry.wav' cannot be read: its list entry at byte 60 claims 500 bytes, "
             "but only 3 follow (the file is damaged)."},
        {"absent.flac",
         {},
         "Can't open sound file '" + dir + "/absent.flac' (No such file or directory)."},
        {"nine.wav",
         {},
         "Can't import '" + dir +
             "/nine.wav': it has 9 channels, and at most 8 can be mixed down to stereo."},
        {"long.wav",
         {.left = 0, .right = 1},
         "Can't import channels 1 and 2 of '" + dir + "/long.wav': it has 1 channels."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ImportedSound untouched;
        untouched.description = "before";
        const Result result = SoundImporter::importFile(path(c.file), c.options, {}, untouched);
        EXPECT_EQ(result, Result::failure(c.message));
        EXPECT_EQ(untouched.description, "before");
    }
    // A file that shrinks while it is read; a cancel from the progress.
    const std::string bytes = slurp(path("long.wav"));
    ShrinkingSource shrinking(wav::span(bytes), bytes.size() / 2);
    ImportedSound out;
    EXPECT_EQ(SoundImporter::importSource(shrinking, "long.wav", {}, {}, out),
              Result::failure("Can't read sound file 'long.wav' (the file shrank)."));
    int64_t seenTotal = 0;
    const auto stop = [&](int64_t done, int64_t total) {
        seenTotal = total;
        return done < 20000;
    };
    EXPECT_TRUE(SoundImporter::importFile(path("long.wav"), {}, stop, out).wasCancelled());
    EXPECT_EQ(seenTotal, 40000);
    EXPECT_FALSE(out.document.loaded);
    // What a document cannot hold is left out, and said.
    SpanByteSource whole(wav::span(bytes));
    ASSERT_TRUE(SoundImporter::importSource(whole, "long.wav", {}, {}, out, 20001).ok());
    EXPECT_EQ(out.document.frameCount, 10000);
    EXPECT_EQ(out.framesLeftOut, 30000);
}

TEST_F(SoundImporterTest, MarkersComeAlong) {
    const std::string data = wav::chunk("data", wav::samples(2000));
    const std::string fmt = wav::fmt(1, 8000, 16);
    const std::string texts = wav::ltxt(1, 50) + wav::text("labl", 1, "one") +
                              wav::text("note", 1, "first") + wav::text("labl", 2, "two");
    const std::vector<CuePoint> expected = {{1, 10, 50, "one", "first"}, {2, 300, 0, "two", ""}};
    // smpl: manufacturer .. sampler data (36 bytes), then loops of id, type, start, end
    // (the last frame), fraction, play count.
    const auto loop = [](uint32_t id, uint32_t start, uint32_t end) {
        return wav::u32(id) + wav::u32(0) + wav::u32(start) + wav::u32(end) + std::string(8, '\0');
    };
    const std::string smpl = wav::chunk("smpl", std::string(28, '\0') + wav::u32(2) + wav::u32(0) +
                                                    loop(7, 100, 199) + loop(0, 500, 509));
    // ds64: RIFF size, data size, sample count (64-bit each), no table.
    const std::string ds64 =
        wav::chunk("ds64", wav::u32(0) + wav::u32(0) + wav::u32(2000) + wav::u32(0) +
                               wav::u32(1000) + wav::u32(0) + wav::u32(0));
    const auto be = [](const std::string& le) {  // a little-endian 32-bit field, turned round
        return std::string(le.rbegin(), le.rend());
    };
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<CuePoint> cues;
    } cases[] = {
        {"cue and adtl before the data",
         wav::riff(fmt + wav::cue({{1, 10}, {2, 300}}) + wav::list("adtl", texts) + data),
         expected},
        {"lower-case list",
         wav::riff(fmt + data + wav::cue({{1, 10}, {2, 300}}) + wav::chunk("list", "adtl" + texts)),
         expected},
        {"smpl loops give lengths and regions",
         wav::riff(fmt + data + wav::cue({{7, 100}}) + smpl),
         {{7, 100, 100, "", ""}, {8, 500, 10, "Loop 2", ""}}},
        {"RF64 with its sizes in ds64",
         wav::rawChunk("RF64", 0xFFFFFFFFu,
                       "WAVE" + ds64 + fmt +
                           wav::rawChunk("data", 0xFFFFFFFFu, wav::samples(2000)) +
                           wav::cue({{1, 10}, {2, 300}}) + wav::list("adtl", texts)),
         expected},
        {"RIFX",
         "RIFX" + be(wav::u32(4 + 24 + 8 + 2000 + 36)) + "WAVEfmt " + be(wav::u32(16)) +
             std::string("\0\1\0\1\0\0\x1f\x40\0\0\x3e\x80\0\2\0\x10", 16) + "data" +
             be(wav::u32(2000)) + wav::samples(2000) + "cue " + be(wav::u32(28)) + be(wav::u32(1)) +
             be(wav::u32(3)) + be(wav::u32(0)) + "data" + be(wav::u32(0)) + be(wav::u32(0)) +
             be(wav::u32(77)),
         {{3, 77, 0, "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpanByteSource source(wav::span(c.bytes));
        ImportedSound imported;
        const Result result = SoundImporter::importSource(source, "m.wav", {}, {}, imported);
        ASSERT_TRUE(result.ok()) << result.message();
        EXPECT_EQ(imported.document.frameCount, 1000);
        EXPECT_EQ(imported.document.cues, c.cues);
    }
}

std::string be16(uint16_t v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}

std::string be32(uint32_t v) {
    return be16(static_cast<uint16_t>(v >> 16)) + be16(static_cast<uint16_t>(v & 0xFFFF));
}

std::string aiffChunk(const std::string& id, const std::string& body) {
    return id + be32(static_cast<uint32_t>(body.size())) + body +
           (body.size() % 2 != 0 ? std::string(1, '\0') : "");
}

// A marker: identifier, position and a Pascal string padded to even length.
std::string aiffMarker(uint16_t id, uint32_t position, const std::string& name) {
    std::string text = std::string(1, static_cast<char>(name.size())) + name;
    return be16(id) + be32(position) + text + (text.size() % 2 != 0 ? std::string(1, '\0') : "");
}

TEST_F(SoundImporterTest, AiffMarkersAndLoopsComeAlong) {
    const std::string comm =
        be16(1) + be32(1000) + be16(16) + std::string("\x40\x0B\xFA\0\0\0\0\0\0\0", 10);  // 8000 Hz
    const std::string mark = be16(3) + aiffMarker(1, 100, "start") + aiffMarker(2, 400, "end") +
                             aiffMarker(3, 700, "later");
    // Sustain loop forward from marker 1 to marker 2, no release loop.
    const std::string inst = std::string("\x3c\0\0\x7f\0\x7f", 6) + be16(0) + be16(1) + be16(1) +
                             be16(2) + be16(0) + be16(0) + be16(0);
    const std::string ssnd = be32(0) + be32(0) + std::string(2000, '\x10');
    const std::string body = "AIFF" + aiffChunk("COMM", comm) + aiffChunk("MARK", mark) +
                             aiffChunk("INST", inst) + aiffChunk("SSND", ssnd);
    const std::string file = path("m.aiff");
    std::ofstream(file, std::ios::binary) << aiffChunk("FORM", body);
    ImportedSound imported;
    const Result result = SoundImporter::importFile(file, {}, {}, imported);
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(imported.description, "Imported: 16-bit 8000 Hz mono AIFF");
    const std::vector<CuePoint> expected = {
        {1, 100, 300, "start", ""}, {2, 400, 0, "end", ""}, {3, 700, 0, "later", ""}};
    EXPECT_EQ(imported.document.cues, expected);
}

}  // namespace
}  // namespace murmelix
