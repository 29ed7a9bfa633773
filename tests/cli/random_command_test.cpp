#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/cli_fixture.h"

namespace {

// 16-bit little-endian samples going up and down in turn, starting with a rise from 0.
std::string alternatingRaw(size_t count) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) {
        const uint16_t value = static_cast<uint16_t>(i % 2 == 0 ? 100 : -100);
        bytes.push_back(static_cast<char>(value & 0xFF));
        bytes.push_back(static_cast<char>(value >> 8));
    }
    return bytes;
}

class RandomCommandTest : public murmelix::testing::CliFixture {
  protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeFile("noise100.pcm", alternatingRaw(100));
        writeFile("noise31.pcm", alternatingRaw(31));
    }
    murmelix::testing::CliResult runRandom(const std::string& arguments) const {
        return run("random " + arguments);
    }
};

const char* const kEndOfFile =
    "End of random source file. Playback has been stopped.\n\nTip: To enable automatic restart, "
    "check 'Extras > Random source > Loop file'.\n";

TEST_F(RandomCommandTest, DrawsPrintsAndFails) {
    struct Case {
        const char* arguments;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {"--seed 1 --count 5", 0, "346\n13854878\n1621890440\n816282396\n1778554774\n", ""},
        {"--seed 1 --count 5 --numbers", 0, "6\n8\n0\n6\n4\n", ""},
        {"--seed 1 --count 3 --bound 1000 --numbers", 0, "346\n878\n440\n", ""},
        {"--seed 1 --count 0", 0, "", ""},
        {"--source fractal --absolute --count 2", 0, "0.95\n0.1805\n", ""},
        {"--source fractal --absolute --count 2 --numbers", 0, "9\n1\n", ""},
        {"--source fractal --r 3.2 --x 0.5 --count 2", 0, "1431655765\n715827882\n", ""},
        {"--source fractal --x 0 --count 2", 0, "0\n0\n", ""},
        {"--source file --file {dir}/noise100.pcm --no-loop --count 5", 1,
         "1431655765\n357913941\n357913941\n", kEndOfFile},
        {"--source file --file {dir}/noise100.pcm --no-loop --count 5 --numbers", 1, "5\n1\n1\n",
         kEndOfFile},
        {"--source file --file {dir}/noise100.pcm --count 4", 0,
         "1431655765\n357913941\n357913941\n357913941\n", ""},
        {"--source file --file {dir}/noise31.pcm", 1, "",
         "Can't read random source file '{dir}/noise31.pcm'.\n"},
        {"--source file --file {dir}/absent.pcm", 1, "",
         "Can't open random source file '{dir}/absent.pcm'.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto result = runRandom(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, expand(c.err));
    }
}

TEST_F(RandomCommandTest, WritesTheLinesToAFile) {
    struct Case {
        const char* arguments;
        int status;
        std::string out;   // standard output
        std::string file;  // what out.txt ("kept\n" before) holds afterwards
        std::string err;
    };
    const Case cases[] = {
        {"--seed 1 --count 5 -o {dir}/out.txt", 0, "",
         "346\n13854878\n1621890440\n816282396\n1778554774\n", ""},
        {"--seed 1 --count 2 --numbers -o {dir}/out.txt", 0, "6\n8\n", "346\n13854878\n", ""},
        {"--source file --file {dir}/noise100.pcm --no-loop --count 10 -o {dir}/out.txt", 1, "",
         "1431655765\n357913941\n357913941\n", kEndOfFile},
        {"--seed 1 -o {dir}/missing/out.txt", 1, "", "kept\n",
         "Can't open log file '{dir}/missing/out.txt' for writing.\n"},
        {"--seed 1 --count 0 -o {dir}/out.txt", 0, "", "kept\n", ""},
        {"--seed 1 --count 1000000000 -o /dev/full", 1, "", "kept\n",
         "Can't write log file '/dev/full' (No space left on device).\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        writeFile("out.txt", "kept\n");
        const auto result = runRandom(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, expand(c.err));
        EXPECT_EQ(slurp(path("out.txt")), c.file);
    }
}

TEST_F(RandomCommandTest, RelativeNamesAreShownWithTheirFullPath) {
    const struct {
        const char* arguments;
        const char* err;
    } cases[] = {
        {"random --source file --file nothere.pcm",
         "Can't open random source file '{dir}/nothere.pcm'.\n"},
        {"random --seed 1 -o ./nodir/x.txt",
         "Can't open log file '{dir}/nodir/x.txt' for writing.\n"},
        {"info nothere.wav", "Can't open WAV file '{dir}/nothere.wav'.\n"},
        {"effect reverse nothere.wav out.wav", "Can't open WAV file '{dir}/nothere.wav'.\n"},
        {"session show nothere.oqt",
         "Can't read session file '{dir}/nothere.oqt' (No such file or directory).\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto result = run(c.arguments, true);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, expand(c.err));
    }
}

TEST_F(RandomCommandTest, RefusesWrongUsage) {
    const char* const cases[] = {
        "--source dice", "--source file", "--count -1",  "--bound 0",    "--r abc", "--x 1,5",
        "--seed x",      "--seed -1",     "--device -2", "--frobnicate", "extra",   "--count",
    };
    for (const char* arguments : cases) {
        const auto result = runRandom(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
        EXPECT_NE(result.err.find("usage: murmelix-cli random"), std::string::npos) << arguments;
    }
}

// How options are read: the forms callers rely on, and the message for each kind of mistake.
TEST_F(RandomCommandTest, ReadsOptionForms) {
    struct Case {
        const char* arguments;
        int status;
        const char* out;  // the start of stdout
        const char* err;  // the start of stderr
    };
    const Case cases[] = {
        {"--seed 1 --count=2", 0, "346\n13854878\n", ""},
        {"--seed 1 --count 9 --count 2", 0, "346\n13854878\n", ""},
        {"--count 002 --seed 1", 0, "346\n13854878\n", ""},
        {"--seed 1 --help --count 2", 0, "usage: murmelix-cli random [--source ", ""},
        {"--count", 2, "", "murmelix-cli random: option --count needs a value\n"},
        {"--count 0x10", 2, "",
         "murmelix-cli random: --count: expects a whole number, not '0x10'\n"},
        {"--bound 0", 2, "", "murmelix-cli random: --bound: must be between 1 and 2147483647\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto result = runRandom(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out.rfind(c.out, 0), 0u) << result.out;
        EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
    }
}

}  // namespace
