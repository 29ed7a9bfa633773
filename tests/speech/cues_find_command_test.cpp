#include <gtest/gtest.h>

#include "audio/wav_reader.h"
#include "support/cli_fixture.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

class CuesFind : public testing::CliFixture {
  protected:
    std::vector<CuePoint> cuesOf(const std::string& name) {
        AudioDocument doc;
        testing::ScriptedUserInterface ui;
        EXPECT_EQ(WavReader::readFile(path(name), doc, ui), 0);
        return doc.cues;
    }
};

TEST_F(CuesFind, WritesTheRegionsItFinds) {
    const std::string corpus = std::string("'") + SPEECH_CORPUS + "/";
    struct Case {
        std::string arguments;
        int status;
        size_t regions;  // in OUT.wav
        std::string firstLabel;
        std::string message;  // in the error output
    };
    const std::vector<Case> cases = {
        {"pauses " + corpus + "gaps-8000.wav' -o {dir}/out.wav --padding 0", 0, 20, "1", ""},
        {"pauses " + corpus + "gaps-8000.wav' -o {dir}/out.wav --transcript " + corpus +
             "transcript.txt' --zero-cross --min-pause 100 --min-region 40 --threshold 40",
         0, 20, "hello", ""},
        // --add keeps the regions the file had (the words and gaps it was joined from).
        {"pauses " + corpus + "gaps-8000.wav' -o {dir}/out.wav --add", 0, 60, "hello", ""},
        {"words " + corpus +
             "tight-22050.wav' -o {dir}/out.wav --text 'hello world seven apple "
             "green morning river paper yellow number' --padding 30",
         0, 10, "hello", ""},
        // A transcript of other words is aligned all the same, with a warning.
        {"words '" + std::string(REAL_SPEECH) +
             "/ls-0880.wav' -o {dir}/out.wav --text 'the cat sat on the mat today'",
         0, 7, "the", "fit the speech poorly"},
        {"phonemes " + corpus + "tight-8000.wav' -o {dir}/out.wav --text 'hello' --ipa", 0, 4, "h",
         ""},
        {"words " + corpus + "gaps-8000.wav' -o {dir}/out.wav --text 'hello zzyzxq'", 1, 0, "",
         "'zzyzxq'"},
        {"pauses {dir}/missing.flac -o {dir}/out.wav", 1, 0, "", "missing.flac"},
        {"pauses " + corpus + "gaps-8000.wav' -o {dir}/out.wav --transcript {dir}/none.txt", 1, 0,
         "", "none.txt"},
        {"pauses " + corpus + "gaps-8000.wav' -o {dir}/out.wav --ipa", 2, 0, "", "--ipa"},
        {"words " + corpus + "gaps-8000.wav' -o {dir}/out.wav --min-pause 5", 2, 0, "",
         "--min-pause"},
        {"mumbles " + corpus + "gaps-8000.wav' -o {dir}/out.wav", 2, 0, "", "mumbles"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::filesystem::remove(path("out.wav"));
        const auto result = run("cues find " + c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        if (c.status != 0) {
            EXPECT_FALSE(std::filesystem::exists(path("out.wav")));
            continue;
        }
        const auto cues = cuesOf("out.wav");
        ASSERT_EQ(cues.size(), c.regions);
        EXPECT_EQ(cues.front().label, c.firstLabel);
    }
}

}  // namespace
}  // namespace murmelix
