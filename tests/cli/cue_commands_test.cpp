#include <gtest/gtest.h>

#include <string>

#include "../audio/wav_bytes.h"
#include "support/cli_fixture.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
using CueCommandsTest = testing::CliFixture;

TEST_F(CueCommandsTest, LabelsGoInAndOutOfWavFiles) {
    // 8000 Hz mono, one second, one cue region 0.5 s long from 0.25 s.
    writeFile("in.wav",
              wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", wav::samples(16000)) +
                        wav::cue({{4, 2000}}) +
                        wav::list("adtl", wav::ltxt(4, 4000) + wav::text("labl", 4, "old"))));
    writeFile("new.txt", "0.1\t0.2\tfirst\r\n0.5\t0.5\tmark\r\n");
    writeFile("bad.txt", "0.1\t0.2\tfirst\n0.3\tx\t\n0.x\t1\ty\n");
    struct Case {
        const char* arguments;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {"cues export {dir}/in.wav -o {dir}/in.txt", 0, "", ""},
        {"cues import {dir}/in.wav {dir}/new.txt -o {dir}/add.wav --add", 0, "", ""},
        {"cues export {dir}/add.wav -o {dir}/add.txt", 0, "", ""},
        {"cues import {dir}/in.wav {dir}/new.txt -o {dir}/replace.wav", 0, "", ""},
        {"cues export {dir}/replace.wav -o {dir}/replace.TextGrid", 0, "", ""},
        {"cues import {dir}/in.wav {dir}/bad.txt -o {dir}/bad.wav", 1, "",
         "{dir}/bad.txt, line 3: start time '0.x' is not a number"},
        {"cues import {dir}/in.wav {dir}/missing.txt -o {dir}/bad.wav", 1, "",
         "Can't read label file '{dir}/missing.txt': No such file or directory."},
        {"cues import {dir}/in.wav {dir}/new.txt -o {dir}/bad.wav --tier words", 1, "",
         "{dir}/new.txt: there is no tier 'words' (the file has '')"},
        {"cues export {dir}/in.wav", 2, "", ""},
        {"cues export {dir}/in.wav -o {dir}/x.txt --add", 2, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto result = run(c.arguments);
        EXPECT_EQ(result.status, c.status);
        if (c.status != 2) {
            EXPECT_EQ(result.err.substr(0, expand(c.err).size()), expand(c.err));
        }
    }
    EXPECT_EQ(slurp(path("in.txt")), "0.250000\t0.750000\told\n");
    EXPECT_EQ(slurp(path("add.txt")),
              "0.250000\t0.750000\told\n0.100000\t0.200000\tfirst\n0.500000\t0.500000\tmark\n");
    EXPECT_NE(slurp(path("replace.TextGrid")).find("text = \"first\""), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("bad.wav")));
}

TEST_F(CueCommandsTest, RenderWaveformWritesAPictureOfTheAskedSize) {
    writeFile("in.wav", wav::riff(wav::fmt(2, 8000, 16) + wav::chunk("data", wav::samples(32000))));
    const auto result =
        run("render-waveform {dir}/in.wav -o {dir}/w.png --width 320 --height 90 "
            "--from 0.2 --to 0.8");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string png = slurp(path("w.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(12, 12), std::string("IHDR\0\0\x01\x40\0\0\0\x5A", 12));
    EXPECT_EQ(run("render-waveform {dir}/in.wav -o {dir}/w.png --from 2 --to 1").status, 2);
    EXPECT_EQ(run("render-waveform {dir}/none.wav -o {dir}/w.png").status, 1);
}

}  // namespace
}  // namespace murmelix
