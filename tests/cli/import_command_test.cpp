#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../audio/wav_bytes.h"
#include "support/cli_fixture.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
using testing::CliFixture;

using ImportCommandTest = CliFixture;

// 24-bit stereo at 8000 Hz, 100 frames, with a labelled cue region.
std::string wav24() {
    const std::string adtl = wav::list("adtl", wav::ltxt(1, 20) + wav::text("labl", 1, "word"));
    return wav::riff(wav::fmt(2, 8000, 24) + wav::chunk("data", wav::samples(600)) +
                     wav::cue({{1, 10}}) + adtl);
}

TEST_F(ImportCommandTest, ImportWritesAWavFileTheProgramReads) {
    writeFile("in24.wav", wav24());
    writeFile("x.bin", "nothing a sound library knows");
    struct Case {
        const char* arguments;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {"import {dir}/in24.wav -o {dir}/out.wav", 0,
         "Imported: 24-bit 8000 Hz stereo WAV\n"
         "Result: 16-bit 8000 Hz stereo, 100 frames (0.013 s), 1 cue points\n"
         "Written to '{dir}/out.wav'.\n",
         ""},
        {"import {dir}/in24.wav -o {dir}/out8.wav --channels 1 --bits 8", 0,
         "Imported: 24-bit 8000 Hz stereo WAV\n"
         "Result: 8-bit 8000 Hz mono, 100 frames (0.013 s), 1 cue points\n"
         "Written to '{dir}/out8.wav'.\n",
         ""},
        {"import {dir}/x.bin -o {dir}/no.wav", 1, "",
         "'{dir}/x.bin' is not a sound file libsndfile knows (unknown format).\n"},
        {"info {dir}/x.bin", 1, "",
         "MMIO Error 265\n'{dir}/x.bin' is not a sound file libsndfile knows (unknown format).\n"},
        {"import {dir}/in24.wav -o {dir}/no.wav --bits 12", 2, "",
         "murmelix-cli import: --bits must be 8 or 16\n"
         "usage: murmelix-cli import IN -o OUT.wav [--channels 1|2] [--bits 8|16]\n"},
        {"import {dir}/in24.wav", 2, "",
         "murmelix-cli import: expects one input file and -o OUT.wav\n"
         "usage: murmelix-cli import IN -o OUT.wav [--channels 1|2] [--bits 8|16]\n"},
        // A refused input among several is named.
        {"join -o {dir}/no.wav {dir}/out.wav {dir}/out.wav {dir}/x.bin", 1, "",
         "'{dir}/x.bin': MMIO Error 265\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto result = run(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, expand(c.out));
        EXPECT_EQ(result.err, expand(c.err));
    }
    EXPECT_FALSE(std::filesystem::exists(path("no.wav")));
    const auto info = run("info {dir}/out.wav --json");
    EXPECT_NE(info.out.find("\"bits_per_sample\":16,\"extra_size\":0,\"data_size\":400"),
              std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("{\"id\":1,\"position\":10,\"length\":20,\"label\":\"word\""),
              std::string::npos)
        << info.out;
    // sox makes a FLAC file; info tells what it is and how to import it.
    const std::string sox = "sox '" + path("out.wav") + "' '" + path("s.flac") + "'";
    ASSERT_EQ(std::system(sox.c_str()), 0);
    const auto flac = run("info {dir}/s.flac");
    EXPECT_EQ(flac.status, 1);
    EXPECT_EQ(flac.err,
              expand("'{dir}/s.flac' is a 16-bit 8000 Hz stereo FLAC file, which "
                     "Murmelix imports: murmelix-cli import '{dir}/s.flac' -o 's.wav'\n"));
}

}  // namespace
}  // namespace murmelix
