#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "support/cli_fixture.h"

namespace murmelix {
namespace {

namespace fs = std::filesystem;
using ListeningCommandsTest = testing::CliFixture;

// Two sequences of real speech whose word regions are labelled, each clip made blind, a
// listener's sheet taken back with its bad row named, and every figure out for R and pandas.
TEST_F(ListeningCommandsTest, MakesABlindTestTakesSheetsAndReports) {
    const std::string speech = std::string(MURMELIX_SOURCE_DIR) + "/tests/speech/real/ls-0870.wav";
    writeFile("words.txt", "0.05\t0.60\triverbank\n0.70\t1.40\tpapermill\n1.50\t2.60\tyellowish\n");
    ASSERT_EQ(run("cues import '" + speech + "' {dir}/words.txt -o {dir}/rec.wav").status, 0);
    for (const char* seed : {"1", "2"}) {
        ASSERT_EQ(run(std::string("render {dir}/rec.wav -o {dir}/o.wav --segments 6 --from 300 ") +
                      "--seed " + seed + " --session {dir}/s.oqt --question 'who sneaked'")
                      .status,
                  0);
    }
    const std::string make = "test make {dir}/s.oqt --controls 1 --reversed --seed 9 -o ";
    ASSERT_EQ(run(make + "{dir}/t1").status, 0);
    ASSERT_EQ(run(make + "{dir}/t2").status, 0);
    ASSERT_EQ(run("test make {dir}/s.oqt --seed 10 -o {dir}/t3").status, 0);
    const std::string key = slurp(path("t1/key.json"));
    for (const char* kind : {"\"sequence\"", "\"control\"", "\"reversed\""}) {
        size_t count = 0;
        for (size_t at = 0;
             (at = key.find("\"kind\": " + std::string(kind), at)) != std::string::npos; ++at) {
            ++count;
        }
        EXPECT_EQ(count, 2u) << kind;
    }
    // The same seed gives the same clips under the same codes; blind: a clip's name and bytes
    // tell nothing of where it comes from.
    int clips = 0;
    for (const auto& entry : fs::directory_iterator(path("t1/clips"))) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ++clips;
        EXPECT_TRUE(std::regex_match(name, std::regex("[0-9]{2}\\.wav")));
        const std::string bytes = slurp(entry.path().string());
        EXPECT_EQ(bytes, slurp(path("t2/clips/" + name)));
        for (const char* telling :
             {"riverbank", "papermill", "yellowish", "labl", "ltxt", "note", "INFO", "s.oqt"}) {
            EXPECT_EQ(bytes.find(telling), std::string::npos) << telling;
        }
    }
    EXPECT_EQ(clips, 6);
    EXPECT_NE(slurp(path("t3/key.json")).substr(key.find("\"clips\"")),
              key.substr(key.find("\"clips\"")));
    // A test is never made over another one.
    const auto refused = run(make + "{dir}/t1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("is not empty"), std::string::npos) << refused.err;

    writeFile("ann.csv",
              "listener,clip,answer\nAnn,01,river bank\nAnn,02,nothing\nAnn,7,x\n"
              "Ann,03,\"a paper, mill\"\n");
    writeFile("bob.csv", "clip,answer\n01,river\n03,paper\n");
    const auto imported = run("test import {dir}/t1 {dir}/ann.csv {dir}/bob.csv");
    EXPECT_EQ(imported.status, 1);  // one row named, the rest taken
    EXPECT_NE(imported.err.find("ann.csv, line 4: there is no clip \"7\""), std::string::npos)
        << imported.err;
    EXPECT_NE(imported.out.find("ann.csv: 3 answers taken"), std::string::npos) << imported.out;
    const auto again = run("test import {dir}/t1 {dir}/bob.csv");
    EXPECT_NE(again.err.find("has answered clip 01 already"), std::string::npos) << again.err;

    const auto report =
        run("test report {dir}/t1 -o {dir}/r.html --csv {dir}/r.csv --json {dir}/r.json");
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_NE(report.out.find("2 listeners answered"), std::string::npos) << report.out;
    const std::string html = slurp(path("r.html"));
    for (int c = 1; c <= 6; ++c) {
        EXPECT_NE(html.find("0" + std::to_string(c)), std::string::npos) << c;
    }
    const auto table =
        run("-c \"import csv, json; r = list(csv.DictReader(open('{dir}/r.csv', newline='', "
            "encoding='utf-8'))); j = json.load(open('{dir}/r.json')); print(len(r), "
            "r[0]['clip'], len(j['clips']))\"",
            false, "python3");
    EXPECT_EQ(table.out, "6 01 6\n") << table.err;
}

}  // namespace
}  // namespace murmelix
