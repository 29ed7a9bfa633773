#include "session/session_workflow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

// Answers the question dialog with the text the test typed.
struct TypingUserInterface : testing::ScriptedUserInterface {
    std::optional<std::string> typed;
    std::vector<std::string> prompts;
    std::optional<std::string> askText(const std::string& prompt,
                                       const std::string& text) override {
        prompts.push_back(prompt + "|" + text);
        return typed;
    }
};

// The program around the workflow: a loaded document, a fixed clock and a panel.
class SessionWorkflowTest : public ::testing::Test, public SessionHost {
  protected:
    void SetUp() override {
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
    }
    std::string documentFileName() const override { return "/doc.wav"; }
    std::time_t now() const override { return std::time_t{1709647629}; }
    void refreshSessionPanel() override {
        ++panelRefreshes_;
        // The panel puts the current texts into the edits, whose change events come
        // straight back.
        if (const SEQUENCE* current = session_.current()) {
            const SEQUENCE shown = *current;
            workflow_.questionChanged(shown.question);
            workflow_.answerChanged(shown.answer);
        }
    }
    void refreshCommands() override { ++controlRefreshes_; }

    // Records one generation that queued `generated` segments (one entry each) and was
    // stopped with a full ring: all but 19 were heard.
    void record(int32_t generated) {
        workflow_.beginSequence();
        for (int32_t n = 1; n <= generated; ++n) {
            workflow_.appendEntry(n * 100, 50, n, "", false, n % 7);
        }
        workflow_.finishRecording(std::max(generated - 19, 0));
    }

    Session session_;
    TypingUserInterface ui_;
    SessionWorkflow workflow_{session_, ui_, this};
    int panelRefreshes_ = 0;
    int controlRefreshes_ = 0;
};

TEST_F(SessionWorkflowTest, BeginSequenceStampsAsksAndStartsRecording) {
    struct Case {
        const char* name;
        std::optional<std::string> typed;
        std::string question;
    };
    const Case cases[] = {
        {"question typed", "Will it rain?", "Will it rain?"},
        {"dialog cancelled: recorded all the same", std::nullopt, ""},
        {"empty text confirmed", "", ""},
    };
    int32_t index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui_.typed = c.typed;
        session_.changed = false;
        workflow_.beginSequence();
        ASSERT_EQ(session_.count(), index + 1);
        EXPECT_EQ(session_.currentIndex(), index);
        EXPECT_EQ(session_.current(), session_.last());
        EXPECT_EQ(session_.current()->dateTime, "2024 03 05 14 07 09");
        EXPECT_EQ(session_.current()->question, c.question);
        EXPECT_TRUE(session_.current()->entries.empty());
        EXPECT_TRUE(session_.recordingActive);
        EXPECT_TRUE(session_.changed);
        EXPECT_EQ(ui_.prompts.back(), "Please enter your comment or question:|");
        session_.recordingActive = false;
        ++index;
    }
    EXPECT_EQ(session_.wavFileName, "/doc.wav");
}

TEST_F(SessionWorkflowTest, FinishRecordingKeepsWhatWasHeard) {
    struct Case {
        int32_t heard;
        int32_t entriesAppended;
        int32_t kept;  // 0: the sequence is removed again
    };
    const Case cases[] = {
        {1, 20, 1}, {2, 21, 2}, {11, 30, 11}, {6, 25, 6}, {0, 19, 0},
        {0, 5, 0},  {0, 0, 0},  {11, 10, 10}, {11, 0, 0}, {-1, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.heard) + " heard, " + std::to_string(c.entriesAppended) +
                     " appended");
        Session session;
        SessionWorkflow workflow(session, ui_);
        session.appendSequence({"earlier", "", "", {{1, 1, 1, 1, "", false}}});
        session.wavFileName = "/w.wav";
        workflow.beginSequence();
        for (int32_t n = 1; n <= c.entriesAppended; ++n) {
            ASSERT_TRUE(workflow.appendEntry(n, 1, n, "", false, 0));
        }
        workflow.finishRecording(c.heard);
        EXPECT_FALSE(session.recordingActive);
        if (c.kept == 0) {
            ASSERT_EQ(session.count(), 1);
            EXPECT_EQ(session.current()->dateTime, "earlier");
            EXPECT_EQ(session.currentIndex(), 0);
            EXPECT_EQ(session.wavFileName, "/w.wav");
            continue;
        }
        ASSERT_EQ(session.count(), 2);
        EXPECT_EQ(session.currentIndex(), 1);
        const auto& entries = session.last()->entries;
        ASSERT_EQ(entries.size(), static_cast<size_t>(c.kept));
        for (int32_t n = 1; n <= c.kept; ++n) {
            EXPECT_EQ(entries[static_cast<size_t>(n - 1)].number, n);
        }
    }
}

TEST_F(SessionWorkflowTest, RecordingOnlyWhileActive) {
    EXPECT_FALSE(workflow_.appendEntry(1, 2, 1, "", false, 0)) << "no sequence";
    record(25);
    ASSERT_EQ(session_.count(), 1);
    session_.changed = false;
    EXPECT_FALSE(workflow_.appendEntry(1, 2, 26, "", false, 0)) << "recording has finished";
    workflow_.finishRecording(40);  // a second report changes nothing
    EXPECT_EQ(session_.last()->entries.size(), 6u);
    EXPECT_FALSE(session_.changed);

    const int before = controlRefreshes_;
    record(3);  // nothing heard
    EXPECT_EQ(session_.count(), 1);
    EXPECT_GT(controlRefreshes_, before) << "the commands must see the sequence is gone";
}

TEST_F(SessionWorkflowTest, LastRemovedSequenceTakesTheWavNameAlong) {
    record(10);
    EXPECT_EQ(session_.count(), 0);
    EXPECT_EQ(session_.wavFileName, "");
    record(20);
    EXPECT_EQ(session_.wavFileName, "/doc.wav");
    EXPECT_EQ(workflow_.panelText().sequence, "1/1");
}

TEST_F(SessionWorkflowTest, QuestionAndAnswerChanges) {
    struct Case {
        const char* name;
        bool withSequence;
        bool answer;  // else the question
        std::string text;
        bool changed;
    };
    const Case cases[] = {
        {"no sequence: nothing happens", false, false, "typed", false},
        {"same question", true, false, "q", false},
        {"same answer", true, true, "a", false},
        {"new question", true, false, "q2", true},
        {"new answer", true, true, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session_.clearSequences();
        if (c.withSequence) {
            session_.appendSequence({"d", "q", "a", {}});
        }
        session_.changed = false;
        panelRefreshes_ = 0;
        controlRefreshes_ = 0;
        if (c.answer) {
            workflow_.answerChanged(c.text);
        } else {
            workflow_.questionChanged(c.text);
        }
        EXPECT_EQ(session_.changed, c.changed);
        EXPECT_EQ(panelRefreshes_, c.changed ? 1 : 0);
        EXPECT_EQ(controlRefreshes_, c.changed ? 1 : 0);
        if (c.withSequence) {
            EXPECT_EQ(c.answer ? session_.current()->answer : session_.current()->question, c.text);
        }
    }
}

TEST_F(SessionWorkflowTest, ShowingSequencesNeverMarksTheSessionChanged) {
    session_.assignSequences({{"a", "q1", "a1", {}}, {"b", "q2", "", {}}, {"c", "", "a3", {}}});
    const std::pair<bool (SessionWorkflow::*)(), bool> moves[] = {
        {&SessionWorkflow::next, true},     {&SessionWorkflow::next, true},
        {&SessionWorkflow::next, false},    {&SessionWorkflow::previous, true},
        {&SessionWorkflow::previous, true}, {&SessionWorkflow::previous, false},
    };
    for (const auto& [move, moved] : moves) {
        const int before = panelRefreshes_;
        EXPECT_EQ((workflow_.*move)(), moved);
        EXPECT_EQ(panelRefreshes_ - before, moved ? 1 : 0);
        EXPECT_FALSE(session_.changed);
    }
    EXPECT_EQ(session_.current()->question, "q1");
}

TEST_F(SessionWorkflowTest, ExportNameProposal) {
    struct Case {
        std::string sessionFile;
        int32_t sequences;
        int32_t current;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/u/Tuesday.oqt", 3, 2, "Tuesday-003.wav"},
        {"/home/u.v/noext", 1, 0, "noext-001.wav"},
        {"my.session.oqt", 10, 9, "my.session-010.wav"},
        {"/x/.oqt", 1, 0, "-001.wav"},
        {"", 2, 1, "20240305_140709-002.wav"},
        {"", 1000, 999, "20240305_140709-1000.wav"},
        {"/home/u/Tuesday.oqt", 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        Session session;
        SessionWorkflow workflow(session, ui_);
        session.sessionFileName = c.sessionFile;
        for (int32_t i = 0; i < c.sequences; ++i) {
            session.appendSequence(
                {i == 0 ? "2024 03 05 14 07 09" : "2030 01 01 00 00 00", "", "", {}});
        }
        while (session.currentIndex() > c.current) {
            session.previous();
        }
        EXPECT_EQ(workflow.exportNameProposal(), c.expected);
    }
}

TEST_F(SessionWorkflowTest, PanelTexts) {
    SessionPanelText empty;
    empty.sequence = "0/0";
    EXPECT_EQ(workflow_.panelText(), empty);

    session_.sessionFileName = "/home/u/mine.oqt";
    session_.recordMode = true;
    session_.assignSequences({{"2024 03 05 14 07 09",
                               "q",
                               "a",
                               {{1, 1, 1, 0, "h", false},
                                {1, 1, 2, 0, "", true},
                                {1, 1, 3, 0, "al", false},
                                {1, 1, 4, 0, "lo", false}}},
                              {"bad date", "", "", {{1, 1, 1, 0, "", false}}}});
    SessionPanelText first{"Recording", "1/2", "mine.oqt", "05.03.2024 14:07:09",
                           "q",         "a",   "hallo"};
    first.explanation = {
        {"Played", "h al lo"},
        {"Score", "0 of 1 answer words among the played words, word error rate 1.00"}};
    EXPECT_EQ(workflow_.panelText(), first);
    workflow_.next();
    SessionPanelText second{"Recording", "2/2", "mine.oqt", "bad date", "", "", ""};
    second.explanation = {{"Played", "(the recording is not loaded)"}};
    EXPECT_EQ(workflow_.panelText(), second) << "no labels: one empty line";
    workflow_.toggleRecordMode();
    EXPECT_EQ(workflow_.panelText().recordMode, "");
    EXPECT_FALSE(session_.recordMode);
}

}  // namespace
}  // namespace murmelix
