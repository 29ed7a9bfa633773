#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../audio/wav_bytes.h"
#include "app/found_regions_advice.h"
#include "base/text_format.h"
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
         "MMIO Error 265 (the file is not a WAV file, or it lacks its format or sample data "
         "part)\n'{dir}/x.bin' is not a sound file libsndfile knows (unknown format).\n"},
        {"import {dir}/in24.wav -o {dir}/no.wav --bits 12", 2, "",
         "murmelix-cli import: --bits must be 8 or 16\n"
         "usage: murmelix-cli import IN -o OUT.wav [--channels 1|2] [--bits 8|16]\n"},
        {"import {dir}/in24.wav", 2, "",
         "murmelix-cli import: expects one input file and -o OUT.wav\n"
         "usage: murmelix-cli import IN -o OUT.wav [--channels 1|2] [--bits 8|16]\n"},
        // A refused input among several is named.
        {"join -o {dir}/no.wav {dir}/out.wav {dir}/out.wav {dir}/x.bin", 1, "",
         "'{dir}/x.bin': MMIO Error 265 (the file is not a WAV file, or it lacks its format or "
         "sample data part)\n"},
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

TEST_F(ImportCommandTest, AnOutputThatIsTheInputInAnotherFormatIsRefused) {
    writeFile("in24.wav", wav24());
    writeFile("in16.wav", wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", wav::samples(800))));
    const std::string sox = "sox '" + path("in16.wav") + "' '" + path("s.flac") + "'";
    ASSERT_EQ(std::system(sox.c_str()), 0);
    std::filesystem::create_directory(path("sub"));
    std::filesystem::create_symlink(path("s.flac"), path("sub/link.flac"));
    std::filesystem::create_hard_link(path("in24.wav"), path("hard.wav"));
    const std::string flac = slurp(path("s.flac"));
    const std::string refusal =
        "Can't write '{dir}/%s': it is the input '{dir}/%s' itself, a %s file, which the WAV "
        "file would replace. Choose another output file.\n";
    struct Case {
        std::string arguments;
        int status;
        std::string err;
    } cases[] = {
        {"import {dir}/s.flac -o {dir}/s.flac", 1,
         formatText(refusal.c_str(), "s.flac", "s.flac", "16-bit 8000 Hz mono FLAC")},
        {"import {dir}/s.flac -o {dir}/sub/link.flac", 1,
         formatText(refusal.c_str(), "sub/link.flac", "s.flac", "16-bit 8000 Hz mono FLAC")},
        {"import {dir}/sub/../s.flac -o {dir}/s.flac --bits 8", 1,
         formatText(refusal.c_str(), "s.flac", "sub/../s.flac", "16-bit 8000 Hz mono FLAC")},
        {"import {dir}/in24.wav -o {dir}/hard.wav", 1,
         formatText(refusal.c_str(), "hard.wav", "in24.wav", "24-bit 8000 Hz stereo WAV")},
        {"cues find pauses {dir}/s.flac -o {dir}/sub/link.flac", 1,
         formatText(refusal.c_str(), "sub/link.flac", "s.flac", "16-bit 8000 Hz mono FLAC")},
        {"import {dir}/in16.wav -o {dir}/in16.wav --channels 2", 1,
         formatText(refusal.c_str(), "in16.wav", "in16.wav", "16-bit 8000 Hz mono WAV")},
        // Nothing is lost where the WAV file is what the program reads anyway.
        {"import {dir}/in16.wav -o {dir}/in16.wav", 0, ""},
        // (The steady signal has no pause, which the search says.)
        {"cues find pauses {dir}/in16.wav -o {dir}/in16.wav", 0,
         FoundRegionsAdvice::of(CueSearch{}, {}) + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto result = run(c.arguments.c_str());
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.err, expand(c.err));
    }
    EXPECT_EQ(slurp(path("s.flac")), flac);
    EXPECT_EQ(slurp(path("in24.wav")), wav24());
}

}  // namespace
}  // namespace murmelix
