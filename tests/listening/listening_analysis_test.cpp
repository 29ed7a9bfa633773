#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "listening/answer_sheet.h"
#include "listening/answer_store.h"
#include "listening/listening_analysis.h"
#include "listening/listening_test_file.h"
#include "listening/listening_test_maker.h"
#include "listening/permutation_test.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

using Kind = ListeningClip::Kind;

ListeningTest threeClips() {
    ListeningTest test;
    test.seed = 5;
    test.clips = {{"01", Kind::Sequence, 1, {}, "the river runs", std::nullopt, 2.0},
                  {"02", Kind::Control, 1, {}, "a paper boat", std::nullopt, 2.0},
                  {"03", Kind::Sequence, 2, {}, "hello", std::string("yellow"), 1.0}};
    return test;
}

// Figures worked out by hand. Clip 01: Ann/Bob share "river" of {the, river, blue} and
// {river}: 1/3; Ann/Cid share nothing (Cid heard nothing): 0; Bob/Cid 0. Mean 1/9; one pair
// of three shares a word: not agreed. Heard anything 2/3; played words {the river runs}: Ann
// 2 of 3, Bob 1 of 1, mean 5/6. Clip 03: two answers, "hello" both: overlap 1, agreed.
TEST(ListeningAnalysis, ScriptedListenersGiveTheFiguresWorkedOutByHand) {
    const std::vector<SheetRow> answers = {
        {"Ann", "01", "The river, blue!"}, {"Bob", "01", "river"},
        {"Cid", "01", "nothing"},          {"Ann", "03", "hello"},
        {"Bob", "03", "Hello."},           {"Ann", "02", "boat"}};
    testing::ScriptedUserInterface ui;
    const ListeningResults results = ListeningAnalysis::of(threeClips(), answers, "/none", ui);
    EXPECT_EQ(results.listeners, (std::vector<std::string>{"Ann", "Bob", "Cid"}));
    struct Expected {
        size_t answers;
        double heard;
        std::optional<double> agreement;
        bool agreed;
        std::optional<double> played;
        std::optional<double> machine;
    };
    const Expected expected[] = {{3, 2.0 / 3, 1.0 / 9, false, 5.0 / 6, std::nullopt},
                                 {1, 1.0, std::nullopt, false, 1.0, std::nullopt},
                                 {2, 1.0, 1.0, true, 1.0, 0.0}};
    ASSERT_EQ(results.clips.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto& clip = results.clips[i];
        EXPECT_EQ(clip.answers.size(), expected[i].answers);
        EXPECT_DOUBLE_EQ(clip.heardAnything, expected[i].heard);
        EXPECT_EQ(clip.agreement.has_value(), expected[i].agreement.has_value());
        EXPECT_NEAR(clip.agreement.value_or(-1), expected[i].agreement.value_or(-1), 1e-12);
        EXPECT_EQ(clip.agreed, expected[i].agreed);
        EXPECT_NEAR(clip.playedAgreement.value_or(-1), expected[i].played.value_or(-1), 1e-12);
        EXPECT_NEAR(clip.machineAgreement.value_or(-1), expected[i].machine.value_or(-1), 1e-12);
    }
    ASSERT_EQ(results.groups.size(), 2u);
    EXPECT_EQ(results.groups[0].agreed, 1);
    EXPECT_EQ(results.groups[0].clips, 2);
    EXPECT_NE(results.summary.find("agreed on 1 of 2 sequences and on 0 of 1 controls"),
              std::string::npos)
        << results.summary;
    // No control with two answers: nothing to compare.
    EXPECT_FALSE(results.sequencesAgainstControls.has_value());
}

TEST(PermutationTest, KnownAnswers) {
    struct Case {
        const char* name;
        std::vector<double> first, second;
        bool exact;
        double pAtLeast, pAtMost;
    };
    const std::vector<double> high(15, 0.9), low(15, 0.1);
    const Case cases[] = {
        {"the same values", {0.2, 0.4, 0.6}, {0.2, 0.4, 0.6}, true, 1.0, 1.0},
        // Of the C(10,5) = 252 relabellings only the observed one and its mirror are as far.
        {"clearly apart",
         {0.9, 0.8, 0.85, 0.95, 0.9},
         {0.1, 0.0, 0.05, 0.1, 0.0},
         true,
         2.0 / 252,
         2.0 / 252},
        {"many clips, sampled", high, low, false, 1.0 / 10001, 1.0 / 10001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = PermutationTest::compare(c.first, c.second, 7);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->exact, c.exact);
        EXPECT_GE(result->pValue, c.pAtLeast - 1e-12);
        EXPECT_LE(result->pValue, c.pAtMost + 1e-12);
    }
    EXPECT_FALSE(PermutationTest::compare({}, {0.5}, 1).has_value());
}

// A sheet filled in by hand in a spreadsheet: what can be read is kept, every row that
// cannot is named by its line; an answer once kept is never replaced.
TEST(AnswerSheet, BadRowsAreNamedTheRestKeptAndNothingIsReplaced) {
    const std::string sheet =
        "\xEF\xBB\xBFlistener;Clip;answer;remark\r\n"
        "Dora;01;\"river; or rivet\";\r\n"
        ";3;\"two\nlines\";unsure\r\n"
        "Dora;99;hello;\r\n"
        "Dora;02;;\r\n"
        "Dora;02;\"never closed\r\n";
    const ListeningTest test = threeClips();
    const auto parsed = AnswerSheet::parse(sheet, test, "dora-sheet");
    EXPECT_EQ(parsed.rows, (std::vector<SheetRow>{{"Dora", "01", "river; or rivet"},
                                                  {"dora-sheet", "03", "two\nlines"}}));
    ASSERT_EQ(parsed.problems.size(), 2u);
    EXPECT_EQ(parsed.problems[0].rfind("line 5: there is no clip \"99\"", 0), 0u)
        << parsed.problems[0];
    EXPECT_EQ(parsed.problems[1].rfind("line 7: a quote is opened", 0), 0u) << parsed.problems[1];
    EXPECT_EQ(AnswerSheet::parse("a,b\r\n1,2\r\n", test, "x").problems.size(), 1u);

    testing::ScratchFolder folder;
    ASSERT_TRUE(ListeningTestFile::write(folder.path().string(), test).ok());
    std::filesystem::create_directories(folder.path() / "answers");
    std::vector<std::string> problems;
    int taken = 0;
    ASSERT_TRUE(AnswerStore::take(folder.path().string(), test, parsed.rows, problems, taken).ok());
    EXPECT_EQ(taken, 2);
    const SheetRow again{"Dora", "01", "something else"};
    EXPECT_TRUE(AnswerStore::record(folder.path().string(), test, again).failed());
    ASSERT_TRUE(AnswerStore::record(folder.path().string(), test, {"Dora", "02", "boat"}).ok());
    std::vector<SheetRow> kept;
    ASSERT_TRUE(AnswerStore::read(folder.path().string(), test, kept, problems).ok());
    EXPECT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].answer, "river; or rivet");
}

TEST(ListeningTestMaker, TheShuffleIsTheSameOnEveryMachine) {
    // Fisher-Yates over the standard 64-bit Mersenne twister, whose output the standard fixes.
    EXPECT_EQ(ListeningTestMaker::shuffled(6, 1), ListeningTestMaker::shuffled(6, 1));
    EXPECT_NE(ListeningTestMaker::shuffled(6, 1), ListeningTestMaker::shuffled(6, 2));
    auto order = ListeningTestMaker::shuffled(50, 3);
    std::sort(order.begin(), order.end());
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i], i);
    }
}

}  // namespace
}  // namespace murmelix
