#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../audio/wav_bytes.h"
#include "support/cli_fixture.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
using testing::CliFixture;

using RenderCommandTest = CliFixture;

std::string silentMono(uint32_t frames, uint32_t rate) {
    return wav::riff(wav::fmt(1, rate, 16) + wav::chunk("data", std::string(frames * 2, '\0')));
}

// The first outputs of the pseudo generator from state 1.
const uint32_t kSeedOneOutputs[] = {346, 13854878, 1621890440, 816282396, 1778554774};

TEST_F(RenderCommandTest, SeedReproducesTheChoicesOfTheLiveProgram) {
    writeFile("in.wav", silentMono(10000, 8000));
    const auto result =
        run("render {dir}/in.wav -o {dir}/out.wav --segments 5 --seed 1 "
            "--session {dir}/s.oqt");
    ASSERT_EQ(result.status, 0) << result.err;
    // From 80 ms at 8000 Hz: 640 frames; starts drawn below 10000 - 640 and put on the grid.
    // Silence rises at every frame, so the zero-crossing search leaves them where they are.
    std::string expected;
    for (int i = 0; i < 5; ++i) {
        const uint32_t start = kSeedOneOutputs[i] % 9360 / 640 * 640;
        expected += "{\"start\":" + std::to_string(start) +
                    ",\"length\":640,\"number\":" + std::to_string(i + 1) +
                    ",\"index\":" + std::to_string(start / 640) + ",\"label\":\"\",\"fade\":false}";
        if (i < 4) {
            expected += ",";
        }
    }
    const auto show = run("session show {dir}/s.oqt --json");
    EXPECT_NE(show.out.find("\"entries\":[" + expected + "]"), std::string::npos)
        << show.out << "\nexpected " << expected;
    const auto info = run("info {dir}/out.wav --json");
    EXPECT_NE(info.out.find("\"data_size\":6400,"), std::string::npos) << info.out;
}

TEST_F(RenderCommandTest, SecondsAndSegmentOptionsShapeTheRun) {
    writeFile("in.wav", silentMono(20000, 8000));
    struct Case {
        const char* options;
        std::string expectedInInfo;
    } cases[] = {
        {"--seconds 1", "\"frame_count\":8320,"},               // 13 x 640 reach 8000 frames
        {"--seconds 0.5 --from 100", "\"frame_count\":4000,"},  // 5 x 800
        {"--segments 3 --cross-fade", "\"frame_count\":1920,"},
        {"--segments 4 --from 10 --to 10", "\"frame_count\":320,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const auto result =
            run(std::string("render {dir}/in.wav -o {dir}/out.wav --seed 7 ") + c.options);
        ASSERT_EQ(result.status, 0) << result.err;
        const auto info = run("info {dir}/out.wav --json");
        EXPECT_NE(info.out.find(c.expectedInInfo), std::string::npos) << info.out;
    }
    EXPECT_EQ(run("render {dir}/in.wav -o {dir}/out.wav").status, 2);
    EXPECT_EQ(run("render {dir}/in.wav -o {dir}/out.wav --segments 2 --seconds 2").status, 2);
    EXPECT_EQ(run("render {dir}/in.wav --segments 2").status, 2);

    const auto noCues = run("render {dir}/in.wav -o {dir}/cues.wav --segments 2 --cues");
    EXPECT_EQ(noCues.status, 1);
    EXPECT_EQ(noCues.err,
              "Murmelix can't proceed because you have\nchecked the \"Use Cue List\" option, "
              "but\nthere are no Cues defined in the WAV file.\n");
    EXPECT_FALSE(std::filesystem::exists(path("cues.wav")));
}

TEST_F(RenderCommandTest, SessionGrowsKeepsTheUsersLinesAndRefusesWhatItCannotStore) {
    writeFile("a.wav", silentMono(5000, 8000));
    writeFile("b.wav", silentMono(5000, 8000));
    ASSERT_EQ(run("render {dir}/a.wav -o {dir}/1.wav --segments 2 --session {dir}/s.oqt "
                  "--question 'Who is there?' --answer 'a friend'")
                  .status,
              0);
    ASSERT_EQ(run("render {dir}/a.wav -o {dir}/2.wav --segments 3 --session {dir}/s.oqt").status,
              0);
    const std::string before = slurp(path("s.oqt"));

    writeFile("line\nbreak.wav", silentMono(5000, 8000));
    struct Case {
        const char* name;
        std::string arguments;
        std::string err;
    };
    const Case refusals[] = {
        {"another WAV file", "render {dir}/b.wav -o {dir}/3.wav --segments 1 --session {dir}/s.oqt",
         "Session file '{dir}/s.oqt' belongs to WAV file '{dir}/a.wav', not to '{dir}/b.wav'.\n"},
        {"a line break in the WAV file's name",
         "render '{dir}/line\nbreak.wav' -o {dir}/3.wav --segments 1 --session {dir}/new.oqt",
         "The name of WAV file '{dir}/line\nbreak.wav' holds a line break, which a session file "
         "cannot store. Rename the WAV file to use it in a session.\n"},
    };
    for (const Case& c : refusals) {
        SCOPED_TRACE(c.name);
        const auto refused = run(c.arguments);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err, expand(c.err));
        EXPECT_EQ(slurp(path("s.oqt")), before);
        EXPECT_FALSE(std::filesystem::exists(path("3.wav")));
        EXPECT_FALSE(std::filesystem::exists(path("new.oqt")));
    }

    const auto show = run("session show {dir}/s.oqt --json");
    EXPECT_NE(show.out.find("\"question\":\"Who is there?\",\"answer\":\"a friend\""),
              std::string::npos)
        << show.out;
    // Exporting a stored sequence writes what the render wrote.
    ASSERT_EQ(run("session export {dir}/s.oqt --sequence 2 -o {dir}/again.wav").status, 0);
    EXPECT_EQ(slurp(path("again.wav")), slurp(path("2.wav")));
    const auto missing = run("session export {dir}/s.oqt --sequence 3 -o {dir}/x.wav");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              expand("Session file '{dir}/s.oqt' holds 2 sequences; there is no sequence 3.\n"));

    // A line of the user's own goes along with every later save.
    writeFile("s.oqt", before + "my own note\n");
    const auto kept = run("render {dir}/a.wav -o {dir}/3.wav --segments 1 --session {dir}/s.oqt");
    ASSERT_EQ(kept.status, 0);
    EXPECT_NE(kept.err.find("kept as it is"), std::string::npos) << kept.err;
    const std::string after = slurp(path("s.oqt"));
    EXPECT_NE(after.find("\nmy own note\n[NextSequence]\n"), std::string::npos) << after;
}

TEST_F(RenderCommandTest, SessionExportLabelsEveryEntry) {
    std::string stereo;
    for (int i = 0; i < 2000; ++i) {
        stereo += wav::u16(static_cast<uint16_t>(i)) + wav::u16(static_cast<uint16_t>(-i));
    }
    writeFile("x.wav", wav::riff(wav::fmt(2, 22050, 16) + wav::chunk("data", stereo)));
    writeFile("s.oqt",
              "# Murmelix 2.0 session file - do not edit unless you know exactly what "
              "you do!\n" +
                  path("x.wav") +
                  "\n[NextSequence]\n2024 03 05 14 07 09\nq\na\n1000 500 1 7 \n"
                  "0 400 2 3 a\n");
    const auto result = run("session export {dir}/s.oqt --sequence 1 -o {dir}/out.wav");
    ASSERT_EQ(result.status, 0) << result.err;
    const auto info = run("info {dir}/out.wav --json");
    EXPECT_NE(info.out.find("\"data_size\":3600,"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"cues\":[{\"id\":1,\"position\":0,\"length\":500,\"label\":"
                            "\"Segment 1\",\"note\":\"File x.wav, 500 Samples (1000 - 1499)\"},"
                            "{\"id\":2,\"position\":500,\"length\":400,\"label\":\"Segment 2 "
                            "(\\\"a\\\")\",\"note\":\"File x.wav, 400 Samples (0 - 399)\"}]"),
              std::string::npos)
        << info.out;
}

// A sequence made again from the settings kept with it is the same sequence; with another
// seed it is another one of the same kind (for the logistic map, another start).
TEST_F(RenderCommandTest, LikeMakesASequenceAgainOrAnotherWithANewSeed) {
    std::string samples;
    for (uint32_t f = 0, x = 1; f < 16000; ++f) {
        x = x * 1103515245u + 12345u;
        samples += wav::u16(static_cast<uint16_t>(x >> 16));
    }
    writeFile("in.wav", wav::riff(wav::fmt(1, 8000, 16) + wav::chunk("data", samples)));
    struct Case {
        const char* options;
        const char* keptForSeed9;
    } cases[] = {
        {"--seed 5 --from 100 --to 300", "\"--seed\",\"9\""},
        {"--source fractal --r 3.9 --x 0.3 --from 50", "\"--x\",\"0.561"},
    };
    int sequence = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_EQ(run(std::string("render {dir}/in.wav -o {dir}/a.wav --segments 7 "
                                  "--session {dir}/s.oqt ") +
                      c.options)
                      .status,
                  0);
        const std::string like = "render --like {dir}/s.oqt --sequence " +
                                 std::to_string(++sequence) + " --session {dir}/s.oqt ";
        ASSERT_EQ(run(like + "-o {dir}/same.wav").status, 0);
        EXPECT_EQ(slurp(path("same.wav")), slurp(path("a.wav")));
        ASSERT_EQ(run(like + "-o {dir}/other.wav --seed 9").status, 0);
        EXPECT_NE(slurp(path("other.wav")), slurp(path("a.wav")));
        const auto shown = run("session show {dir}/s.oqt --json").out;
        EXPECT_NE(shown.find(c.keptForSeed9), std::string::npos) << shown;
        sequence += 2;
    }
    // A session from before the settings were kept says why it cannot.
    std::filesystem::remove(path("s.oqt.json"));
    const auto refused = run("render --like {dir}/s.oqt --sequence 1 -o {dir}/x.wav");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("cannot be made again"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace murmelix
