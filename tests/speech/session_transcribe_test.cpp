#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_fixture.h"

namespace murmelix {
namespace {

class SessionTranscribe : public testing::CliFixture {
  protected:
    nlohmann::json shown() {
        const auto result = run("session show {dir}/s.oqt --json");
        EXPECT_EQ(result.status, 0) << result.err;
        lastErr = result.err;
        return nlohmann::json::parse(result.out).at("sequences").at(0);
    }
    std::string lastErr;
};

// Words of a real reading played whole in random order: the recogniser, which knows nothing
// of them, hears most of them (7 of 8 measured), and what it heard stays beside the session
// for as long as the recording is the same one.
TEST_F(SessionTranscribe, HearsTheSequenceAndKeepsTheWordsBesideTheSession) {
    const std::string real = std::string(REAL_SPEECH) + "/ls-0870";
    ASSERT_EQ(
        run("cues find words '" + real + ".wav' -o {dir}/words.wav --transcript '" + real + ".txt'")
            .status,
        0);
    ASSERT_EQ(run("render {dir}/words.wav -o {dir}/out.wav --segments 8 --cues --seed 3 "
                  "--session {dir}/s.oqt --answer 'john had leisure'")
                  .status,
              0);
    const std::string session = slurp(path("s.oqt"));
    ASSERT_EQ(run("session transcribe {dir}/s.oqt").status, 0);
    EXPECT_EQ(slurp(path("s.oqt")), session);  // the session file is not touched
    nlohmann::json sequence = shown();
    std::vector<std::string> heard;
    for (const auto& word : sequence.at("machine_words")) {
        heard.push_back(word.at("word").get<std::string>());
        EXPECT_GE(word.at("confidence").get<double>(), 0.0);
    }
    int found = 0;
    for (const auto& word : sequence.at("played_words")) {
        found += std::find(heard.begin(), heard.end(), word.at("word").get<std::string>()) !=
                 heard.end();
    }
    EXPECT_GE(found, 5);
    EXPECT_EQ(sequence.at("scores").at("played").at("found").get<int>(), 3);
    EXPECT_FALSE(sequence.at("scores").at("machine").is_null());

    // The same side by side in a table that Python's csv module reads as it is.
    ASSERT_EQ(run("session table {dir}/s.oqt -o {dir}/t.csv").status, 0);
    const auto table =
        run("-c \"import csv; r = list(csv.DictReader(open('{dir}/t.csv', newline='', "
            "encoding='utf-8'))); print(len(r), r[0]['answer'], r[0]['played_found'], "
            "r[0]['date_time'][4], len(r[0]['machine_words'].split()) == " +
                std::to_string(heard.size()) + ")\"",
            false, "python3");
    EXPECT_EQ(table.out, "1 john had leisure 3 - True\n") << table.err;

    // Another recording under the same name: the words are not trusted, and it is said.
    ASSERT_EQ(run("cues find words '" + real + ".wav' -o {dir}/words.wav --transcript '" + real +
                  ".txt' --padding 10")
                  .status,
              0);
    EXPECT_TRUE(shown().at("machine_words").is_null());
    EXPECT_NE(lastErr.find("another recording"), std::string::npos) << lastErr;

    // A damaged file beside the session: shown without it, never written over.
    writeFile("s.oqt.json", "{\"murmelix_session_data\": 1, \"recor");
    EXPECT_TRUE(shown().at("machine_words").is_null());
    EXPECT_NE(lastErr.find("is damaged"), std::string::npos) << lastErr;
    const auto refused = run("session transcribe {dir}/s.oqt --sequence 1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(slurp(path("s.oqt.json")), "{\"murmelix_session_data\": 1, \"recor");
}

}  // namespace
}  // namespace murmelix
