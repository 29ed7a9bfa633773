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

TEST_F(CueCommandsTest, TiersAreChosenByNameAndPointsStayPoints) {
    writeFile("in.wav", wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", wav::samples(16000))));
    // Praat's short text form: a point tier first, two tiers named "Mary", one unnamed.
    writeFile("tiers.TextGrid",
              "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n1\n<exists>\n4\n"
              "\"TextTier\"\n\"bell\"\n0\n1\n1\n0.5\n\"ding\"\n"
              "\"IntervalTier\"\n\"Mary\"\n0\n1\n2\n0\n0.25\n\"first\"\n0.25\n1\n\"\"\n"
              "\"IntervalTier\"\n\"\"\n0\n1\n2\n0\n0.5\n\"unnamed\"\n0.5\n1\n\"\"\n"
              "\"IntervalTier\"\n\"Mary\"\n0\n1\n2\n0\n0.5\n\"\"\n0.5\n1\n\"second\"\n");
    struct Case {
        const char* tier;
        std::string labels;
    } cases[] = {
        {"", "0.000000\t0.250000\tfirst\n"},
        {"--tier ''", "0.000000\t0.500000\tunnamed\n"},
        {"--tier Mary:2", "0.500000\t1.000000\tsecond\n"},
        {"--tier bell", "0.500000\t0.500000\tding\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tier);
        ASSERT_EQ(
            run(std::string("cues import {dir}/in.wav {dir}/tiers.TextGrid -o {dir}/out.wav ") +
                c.tier)
                .status,
            0);
        ASSERT_EQ(run("cues export {dir}/out.wav -o {dir}/out.txt").status, 0);
        EXPECT_EQ(slurp(path("out.txt")), c.labels);
    }
    // The point exported last is a point of a point tier, not an interval to the end.
    ASSERT_EQ(run("cues export {dir}/out.wav -o {dir}/out.TextGrid").status, 0);
    const std::string grid = slurp(path("out.TextGrid"));
    EXPECT_NE(grid.find("class = \"TextTier\" \n        name = \"points\""), std::string::npos);
    EXPECT_NE(grid.find("number = 0.5 \n            mark = \"ding\""), std::string::npos) << grid;
    const auto missing =
        run("cues import {dir}/in.wav {dir}/tiers.TextGrid -o {dir}/out.wav --tier Mary:3");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, expand("{dir}/tiers.TextGrid: there is no tier 'Mary:3' (the file has "
                                  "'bell', 'Mary', '', 'Mary:2')\n"));
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
