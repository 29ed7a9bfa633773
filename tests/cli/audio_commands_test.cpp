#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../audio/wav_bytes.h"
#include "support/cli_fixture.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
using testing::CliFixture;

using AudioCommandsTest = CliFixture;

std::string pcm16(const std::vector<int>& samples) {
    std::string out;
    for (int s : samples) {
        out += wav::u16(static_cast<uint16_t>(s));
    }
    return out;
}

std::string monoFile(const std::vector<int>& samples, uint32_t rate = 8000) {
    return wav::riff(wav::fmt(1, rate, 16) + wav::chunk("data", pcm16(samples)));
}

TEST_F(AudioCommandsTest, InfoReadsFilesAsTheProgramDoes) {
    const std::string adtl = wav::list("adtl", wav::ltxt(5, 40) + wav::text("labl", 5, "first") +
                                                   wav::text("labl", 0, "zero") + wav::ltxt(0, 99) +
                                                   wav::text("note", 5, "n"));
    writeFile("dup.wav", wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", wav::samples(200)) +
                                   wav::cue({{5, 10}, {5, 20}, {0, 30}}) + adtl));
    writeFile("order.wav", wav::riff(wav::cue({{1, 0}}) + wav::list("adtl", wav::ltxt(1, 4)) +
                                     wav::fmt(1, 8000, 16) + wav::chunk("data", wav::samples(8))));
    writeFile("stereo8.wav",
              wav::riff(wav::fmt(2, 11025, 8) + wav::chunk("data", wav::samples(9))));
    writeFile("mismatch.wav",
              wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", wav::samples(4)) +
                        wav::rawChunk("cue ", 28, wav::u32(2) + std::string(24, '\0'))));
    writeFile("nodata.wav", wav::riff(wav::fmt(1, 8000, 16)));
    writeFile("float.wav", wav::riff(wav::fmt(1, 8000, 32, 3) + wav::chunk("data", "abcd")));
    // Some editors spell the list "list": the program's reader drops those cues, the import
    // keeps them.
    writeFile("lower.wav", wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", wav::samples(8)) +
                                     wav::cue({{1, 1}}) +
                                     wav::chunk("list", "adtl" + wav::text("labl", 1, "w"))));
    struct Case {
        const char* arguments;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {"info {dir}/dup.wav --json", 0,
         "{\"format_tag\":1,\"channels\":1,\"sample_rate\":8000,\"avg_bytes_per_sec\":16000,"
         "\"block_align\":2,\"bits_per_sample\":16,\"extra_size\":0,\"data_size\":200,"
         "\"frame_size\":2,\"frame_count\":100,\"cues\":["
         "{\"id\":5,\"position\":10,\"length\":40,\"label\":\"first\",\"note\":\"n\"},"
         "{\"id\":5,\"position\":20,\"length\":0,\"label\":\"\",\"note\":\"\"},"
         "{\"id\":0,\"position\":30,\"length\":0,\"label\":\"\",\"note\":\"\"}]}\n",
         ""},
        {"info {dir}/order.wav --json", 0,
         "{\"format_tag\":1,\"channels\":1,\"sample_rate\":8000,\"avg_bytes_per_sec\":16000,"
         "\"block_align\":2,\"bits_per_sample\":16,\"extra_size\":0,\"data_size\":8,"
         "\"frame_size\":2,\"frame_count\":4,\"cues\":[]}\n",
         ""},
        {"info {dir}/mismatch.wav --json", 0,
         "{\"format_tag\":1,\"channels\":1,\"sample_rate\":8000,\"avg_bytes_per_sec\":16000,"
         "\"block_align\":2,\"bits_per_sample\":16,\"extra_size\":0,\"data_size\":4,"
         "\"frame_size\":2,\"frame_count\":2,\"cues\":[]}\n",
         "Number of found Cue points doesn't match size of cue chunk.\n"},
        {"info {dir}/nodata.wav", 1, "",
         "MMIO Error 265 (the file is not a WAV file, or it lacks its format or sample data "
         "part)\n'{dir}/nodata.wav' is not a sound file libsndfile knows (error in "
         "WAV file. No 'data' chunk marker).\n"},
        {"info {dir}/lower.wav --json", 0,
         "{\"format_tag\":1,\"channels\":1,\"sample_rate\":8000,\"avg_bytes_per_sec\":16000,"
         "\"block_align\":2,\"bits_per_sample\":16,\"extra_size\":0,\"data_size\":8,"
         "\"frame_size\":2,\"frame_count\":4,\"cues\":[]}\n",
         "'{dir}/lower.wav' holds cue labels in a lowercase 'list' chunk, which only the import "
         "reads: murmelix-cli import '{dir}/lower.wav' -o 'OUT.wav'\n"},
        {"info {dir}/absent.wav", 1, "", "Can't open WAV file '{dir}/absent.wav'.\n"},
        {"info {dir}/float.wav", 1, "",
         "This WAV file is not a standard PCM file. Murmelix can only process mono or stereo "
         "Windows PCM files with 8 or 16 bits per sample. Please choose another WAV file, or try "
         "to open this file in a sound editor and then save it as a Windows PCM file.\n"
         "'{dir}/float.wav' is a 32-bit float 8000 Hz mono WAV file, which Murmelix imports: "
         "murmelix-cli import '{dir}/float.wav' -o 'OUT.wav'\n"},
        {"info", 2, "",
         "murmelix-cli info: expects exactly one WAV file\nusage: murmelix-cli info "
         "FILE.wav [--json]\n"},
        {"info {dir}/dup.wav --bogus", 2, "",
         "murmelix-cli info: unknown option --bogus\nusage: murmelix-cli info FILE.wav [--json]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto result = run(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, expand(c.err));
    }
    const auto text = run("info {dir}/stereo8.wav");
    EXPECT_NE(text.out.find("11025 Hz, 8 bit, Stereo"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("9 bytes, 4 frames of 2 bytes"), std::string::npos) << text.out;
}

// Samples of the left channel of a 16-bit mono file, read back through the tool itself.
std::vector<int> samplesOf(const std::string& bytes) {
    std::vector<int> out;
    const size_t data = bytes.find("data");
    const uint32_t size = loadU32LE(reinterpret_cast<const uint8_t*>(bytes.data()) + data + 4);
    for (uint32_t i = 0; i + 1 < size; i += 2) {
        out.push_back(static_cast<int16_t>(
            loadU16LE(reinterpret_cast<const uint8_t*>(bytes.data()) + data + 8 + i)));
    }
    return out;
}

TEST_F(AudioCommandsTest, EffectsTransformAndSaveTheSignal) {
    writeFile("impulse.wav", monoFile({1000, 0, 0, 0, 0, 0, 0, 0}, 1000));
    writeFile("ramp.wav", monoFile({1, 2, 3, -4}));
    writeFile("quiet.wav", monoFile({100, -200, 50}));
    struct Case {
        const char* arguments;
        std::vector<int> expected;
    } cases[] = {
        {"effect reverse {dir}/ramp.wav {dir}/out.wav", {-4, 3, 2, 1}},
        {"effect echo {dir}/impulse.wav {dir}/out.wav --delay 2 --decay 50",
         {1000, 0, 500, 0, 250, 0, 125, 0}},
        {"effect normalize {dir}/quiet.wav {dir}/out.wav", {16383, -32767, 8191}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto result = run(c.arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(samplesOf(slurp(path("out.wav"))), c.expected);
    }
    const auto defaults = run("effect echo {dir}/impulse.wav {dir}/out.wav");
    EXPECT_EQ(defaults.status, 0);
    // 100 ms at 1000 Hz is longer than the file: the delay stops at the frame count.
    EXPECT_EQ(samplesOf(slurp(path("out.wav"))), (std::vector<int>{1000, 0, 0, 0, 0, 0, 0, 0}));

    EXPECT_EQ(run("effect wobble {dir}/ramp.wav {dir}/out.wav").status, 2);
    EXPECT_EQ(run("effect reverse {dir}/ramp.wav {dir}/out.wav --delay 5").status, 2);
    EXPECT_EQ(run("effect echo {dir}/ramp.wav {dir}/out.wav --decay 101").status, 2);
    const auto unwritable = run("effect reverse {dir}/ramp.wav {dir}/missing/out.wav");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, expand("Can't open WAV file '{dir}/missing/out.wav' for writing.\n"));
}

TEST_F(AudioCommandsTest, JoinMakesOneCueRegionPerInput) {
    writeFile("hello.wav", monoFile({1, 2, 3}));
    writeFile("big world.wav", monoFile({4, 5}));
    writeFile("other.wav", monoFile({6}, 22050));
    const auto joined = run("join -o {dir}/joined.wav {dir}/hello.wav '{dir}/big world.wav'");
    ASSERT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(samplesOf(slurp(path("joined.wav"))), (std::vector<int>{1, 2, 3, 4, 5}));
    const auto info = run("info {dir}/joined.wav --json");
    EXPECT_NE(info.out.find("\"cues\":[{\"id\":1,\"position\":0,\"length\":3,\"label\":\"hello\","
                            "\"note\":\"\"},{\"id\":2,\"position\":3,\"length\":2,\"label\":"
                            "\"big world\",\"note\":\"\"}]"),
              std::string::npos)
        << info.out;

    // Other tools read what we write: sox gives back the same samples.
    const std::string sox = "sox '" + path("joined.wav") + "' -t raw '" + path("joined.raw") + "'";
    ASSERT_EQ(std::system(sox.c_str()), 0) << "sox must be installed (scripts/deps.sh)";
    EXPECT_EQ(slurp(path("joined.raw")), pcm16({1, 2, 3, 4, 5}));

    writeFile("empty.wav", monoFile({}));
    const struct {
        const char* inputs;
        const char* err;
    } refused[] = {
        {"{dir}/hello.wav {dir}/other.wav",
         "Can't join '{dir}/other.wav': its format (22050 Hz, 16 bit, mono) differs from that "
         "of '{dir}/hello.wav' (8000 Hz, 16 bit, mono).\n"},
        // Its cue of length 0 would cover every later part.
        {"{dir}/hello.wav {dir}/empty.wav '{dir}/big world.wav'",
         "Can't join '{dir}/empty.wav': it holds no sample frames.\n"},
        {"{dir}/empty.wav {dir}/hello.wav",
         "Can't join '{dir}/empty.wav': it holds no sample frames.\n"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.inputs);
        const auto result = run(std::string("join -o {dir}/refused.wav ") + c.inputs);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, expand(c.err));
        EXPECT_FALSE(std::filesystem::exists(path("refused.wav")));
    }
    EXPECT_EQ(run("join {dir}/hello.wav").status, 2);
}

}  // namespace
}  // namespace murmelix
