#include "session/session_file_operations.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <functional>
#include <set>

#include "base/atomic_file.h"
#include "session/session_file_writer.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedUserInterface;

const char* const kHeader =
    "# Murmelix 2.0 session file - do not edit unless you know exactly what you do!\n";

// A user interface that can act on the world while a message box is up (the user fixes
// the problem before pressing Retry).
class ActingUserInterface : public ScriptedUserInterface {
  public:
    std::function<void()> onMessage;
    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override {
        if (onMessage) {
            onMessage();
        }
        return ScriptedUserInterface::messageBox(caption, text, icon, buttons);
    }
};

// The program around the session operations: a document that can be loaded when the
// test says so, and remembered folders.
class SessionFileOperationsTest : public ::testing::Test, public SessionHost {
  protected:
    std::string documentFileName() const override { return document_; }
    bool openWavFile(const std::string& wav) override {
        wavOpens_.push_back(wav);
        // Loading a WAV file closes the current one, and the session with it.
        (void)operations_.closeSession();
        if (loadable_.count(wav) == 0) {
            return false;
        }
        document_ = wav;
        return true;
    }
    std::string startFolder(SessionFolder kind) const override {
        return kind == SessionFolder::SessionFiles ? std::string("/sessions/")
                                                   : std::string("/wavs/");
    }
    void rememberFolder(SessionFolder kind, const std::string& folder) override {
        remembered_.push_back({kind, folder});
    }

    std::string path(const std::string& name) const { return scratch_.file(name); }
    void writeFile(const std::string& name, const std::string& bytes) const {
        AtomicFile file(path(name));
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write(bytes));
        ASSERT_TRUE(file.commit());
    }
    std::string contentsOf(const std::string& name) const {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(path(name), bytes));
        return bytes;
    }
    // A session file of two sequences on `wav`.
    std::string sessionText(const std::string& wav) const {
        return std::string(kHeader) + wav +
               "\n[NextSequence]\n2024 03 05 14 07 09\nq1\na1\n1 2 1 0 \n3 4 2 1 x\n"
               "[NextSequence]\n2024 03 06 10 00 00\nq2\na2\n5 6 1 2 [FADE]\n";
    }
    // Forgets what was shown and queues the user's next answers.
    void script(std::deque<MessageResult> answers,
                std::deque<std::optional<std::string>> fileAnswers = {}) {
        ui_.messages.clear();
        ui_.fileDialogs.clear();
        ui_.answers = std::move(answers);
        ui_.fileAnswers = std::move(fileAnswers);
    }
    // Replaces the session by a changed one of one sequence.
    void makeChangedSession() {
        session_.clearSequences();
        session_.appendSequence({"2023 01 02 03 04 05", "old", "", {{1, 1, 1, 1, "", false}}});
        session_.wavFileName = "/old.wav";
        session_.changed = true;
    }

    testing::ScratchFolder scratch_;
    Session session_;
    ActingUserInterface ui_;
    SessionFileOperations operations_{session_, ui_, this};
    std::string document_;
    std::set<std::string> loadable_;
    std::vector<std::string> wavOpens_;
    std::vector<std::pair<SessionFolder, std::string>> remembered_;
};

TEST_F(SessionFileOperationsTest, OpensAndBindsTheWavFile) {
    struct Case {
        const char* name;
        std::string document;  // loaded before the open
        std::vector<std::string> expectedOpens;
    };
    const std::string wav = path("speech.wav");
    const Case cases[] = {
        {"document already loaded", wav, {}},
        {"document loaded on the way", "/other.wav", {wav}},
        {"nothing loaded yet", "", {wav}},
    };
    writeFile("s.oqt", sessionText(wav));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session_.clearSequences();
        document_ = c.document;
        loadable_ = {wav};
        wavOpens_.clear();
        operations_.openSession(path("s.oqt"));
        EXPECT_EQ(wavOpens_, c.expectedOpens);
        EXPECT_EQ(session_.sessionFileName, path("s.oqt"));
        EXPECT_EQ(session_.wavFileName, wav);
        ASSERT_EQ(session_.count(), 2);
        EXPECT_EQ(session_.currentIndex(), 0);
        EXPECT_EQ(session_.current()->question, "q1");
        EXPECT_EQ(session_.last()->entries.at(0), (SEGMENT{5, 6, 1, 2, "", true}));
        EXPECT_FALSE(session_.changed);
        EXPECT_TRUE(ui_.messages.empty());
    }
    EXPECT_EQ(remembered_.back(),
              (std::pair<SessionFolder, std::string>{SessionFolder::SessionFiles,
                                                     scratch_.path().string() + "/"}));
}

TEST_F(SessionFileOperationsTest, MissingWavFileIsSearchedOrTheOpenAbandoned) {
    const std::string wav = path("gone.wav");
    const std::string moved = path("moved.wav");
    writeFile("s.oqt", sessionText(wav));
    struct Case {
        const char* name;
        MessageResult answer;
        std::optional<std::string> chosen;
        bool movedLoadable;
        bool bound;
    };
    const Case cases[] = {
        {"user declines the search", MessageResult::No, std::nullopt, true, false},
        {"search dialog cancelled", MessageResult::Yes, std::nullopt, true, false},
        {"chosen file does not load either", MessageResult::Yes, moved, false, false},
        {"relocated", MessageResult::Yes, moved, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session_.clearSequences();
        script({c.answer}, {c.chosen});
        document_.clear();
        loadable_.clear();
        if (c.movedLoadable) {
            loadable_.insert(moved);
        }
        remembered_.clear();
        operations_.openSession(path("s.oqt"));

        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].caption, "Problem");
        EXPECT_EQ(ui_.messages[0].text, SessionFileOperations::kMissingWavQuestion);
        EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Question);
        EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::YesNo);
        if (c.answer == MessageResult::Yes) {
            ASSERT_EQ(ui_.fileDialogs.size(), 1u);
            EXPECT_EQ(ui_.fileDialogs[0].title, "Open WAV file...");
            EXPECT_EQ(ui_.fileDialogs[0].startFolder, "/wavs/");
        }
        if (c.bound) {
            EXPECT_EQ(session_.sessionFileName, path("s.oqt"));
            EXPECT_EQ(session_.wavFileName, moved);
            EXPECT_EQ(session_.count(), 2);
            EXPECT_TRUE(session_.changed);
            EXPECT_EQ(remembered_.back(),
                      (std::pair<SessionFolder, std::string>{SessionFolder::SourceWavFiles,
                                                             scratch_.path().string() + "/"}));
        } else {
            EXPECT_EQ(session_.sessionFileName, "");
            EXPECT_EQ(session_.wavFileName, "");
            EXPECT_EQ(session_.count(), 0);
            EXPECT_FALSE(session_.changed);
        }
    }
}

TEST_F(SessionFileOperationsTest, OpenOutcomesWithoutSequencesToLoad) {
    writeFile("bad.oqt", "# Murmelix 3.0 session file\n/w.wav\n");
    writeFile("names.oqt", std::string(kHeader) + "/w.wav\n");
    fs::create_directory(path("folder.oqt"));
    ASSERT_EQ(::mkfifo(path("fifo.oqt").c_str(), 0600), 0);
    document_ = "/w.wav";
    struct Case {
        const char* name;
        std::string file;
        std::string boundName;
        std::string wav;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"name that does not exist", path("new.oqt"), path("new.oqt"), "", {}},
        {"only header and WAV name", path("names.oqt"), path("names.oqt"), "/w.wav", {}},
        {"unknown header", path("bad.oqt"), "", "", {"Invalid session file."}},
        {"existing file that cannot be read",
         path("folder.oqt"),
         "",
         "",
         {SessionFileOperations::readErrorMessage(path("folder.oqt"), EISDIR)}},
        // Read to no end, or waited for forever, before these were refused.
        {"endless device",
         "/dev/zero",
         "",
         "",
         {"Can't read session file '/dev/zero' (not a regular file)."}},
        {"FIFO without a writer",
         path("fifo.oqt"),
         "",
         "",
         {"Can't read session file '" + path("fifo.oqt") + "' (not a regular file)."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session_.wavFileName.clear();
        session_.changed = true;  // left over from an earlier empty session
        ui_.messages.clear();
        operations_.openSession(c.file);
        EXPECT_EQ(session_.sessionFileName, c.boundName);
        EXPECT_EQ(session_.wavFileName, c.wav);
        EXPECT_EQ(session_.count(), 0);
        EXPECT_FALSE(session_.changed) << "nothing differs from a file just opened";
        EXPECT_EQ(ui_.texts(), c.messages);
        for (const auto& shown : ui_.messages) {
            EXPECT_EQ(shown.caption, "Error");
            EXPECT_EQ(shown.icon, MessageIcon::Error);
        }
    }
}

TEST_F(SessionFileOperationsTest, UnreadableLinesAreKeptAndReportedOnce) {
    const std::string text = std::string(kHeader) +
                             "/w.wav\n0 0 0 0 \n[NextSequence]\nd\nq\na\n1 2 1 0 \nnonsense\n\n"
                             "3 4\n5 6 2 1 \n";
    writeFile("s.oqt", text);
    document_ = "/w.wav";
    operations_.openSession(path("s.oqt"));
    ASSERT_EQ(session_.count(), 1);
    EXPECT_EQ(session_.first()->entries.size(), 2u);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{
                               "4 lines of session file '" + path("s.oqt") +
                               "' could not be read. They are kept as they are and written back "
                               "unchanged when the session is saved."});
    EXPECT_FALSE(session_.changed);

    session_.changed = true;
    script({}, {path("s.oqt")});
    EXPECT_EQ(operations_.saveSession(false), SessionOutcome::Done);
    EXPECT_EQ(contentsOf("s.oqt"), text);
}

TEST_F(SessionFileOperationsTest, OpenDialogAndTheOldSessionsSaveQuestion) {
    writeFile("s.oqt", sessionText("/w.wav"));
    document_ = "/w.wav";
    struct Case {
        const char* name;
        std::optional<std::string> chosen;
        MessageResult saveAnswer;
        bool opened;
    };
    const Case cases[] = {
        {"dialog cancelled", std::nullopt, MessageResult::No, false},
        {"save question cancelled", path("s.oqt"), MessageResult::Cancel, false},
        {"changes discarded", path("s.oqt"), MessageResult::No, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeChangedSession();
        script({c.saveAnswer}, {c.chosen});
        operations_.openSession();
        ASSERT_EQ(ui_.fileDialogs.size(), 1u);
        EXPECT_EQ(ui_.fileDialogs[0].title, "Open new or existing session file...");
        EXPECT_EQ(ui_.fileDialogs[0].filter,
                  "Murmelix session files (*.oqt)|*.oqt|All Files (*.*)|*.*");
        EXPECT_EQ(ui_.fileDialogs[0].defaultExtension, "*.oqt");
        EXPECT_EQ(ui_.fileDialogs[0].startFolder, "/sessions/");
        EXPECT_EQ(ui_.messages.size(), c.chosen ? 1u : 0u);
        if (c.opened) {
            EXPECT_EQ(session_.count(), 2);
            EXPECT_EQ(session_.current()->question, "q1");
        } else {
            EXPECT_EQ(session_.count(), 1);
            EXPECT_EQ(session_.current()->question, "old");
            EXPECT_TRUE(session_.changed);
        }
    }
}

TEST_F(SessionFileOperationsTest, SaveQuestionAndDialog) {
    struct Case {
        const char* name;
        bool askFirst;
        std::string fileName;
        MessageResult answer;
        std::optional<std::string> chosen;
        SessionOutcome outcome;
        bool written;
        bool changedAfter;
        std::string proposal;
    };
    const Case cases[] = {
        {"no: changes dropped", true, "", MessageResult::No, std::nullopt, SessionOutcome::Done,
         false, false, ""},
        {"cancel", true, "", MessageResult::Cancel, std::nullopt, SessionOutcome::Cancelled, false,
         true, ""},
        {"yes, proposal from the date", true, "", MessageResult::Yes, path("a.oqt"),
         SessionOutcome::Done, true, false, "20230102_030405"},
        {"save command, proposal is the name", false, path("b.oqt"), MessageResult::Ok,
         path("b.oqt"), SessionOutcome::Done, true, false, path("b.oqt")},
        {"save dialog cancelled", false, path("b.oqt"), MessageResult::Ok, std::nullopt,
         SessionOutcome::Cancelled, false, true, path("b.oqt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path("a.oqt"));
        fs::remove(path("b.oqt"));
        makeChangedSession();
        session_.sessionFileName = c.fileName;
        script({c.answer}, {c.chosen});
        EXPECT_EQ(operations_.saveSession(c.askFirst), c.outcome);
        EXPECT_EQ(session_.changed, c.changedAfter);
        if (c.askFirst) {
            ASSERT_FALSE(ui_.messages.empty());
            EXPECT_EQ(ui_.messages[0].caption, "Warning");
            EXPECT_EQ(ui_.messages[0].text,
                      "The current session has been changed. Do you want to save the changes?");
            EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::YesNoCancel);
        }
        const bool dialogShown = !c.askFirst || c.answer == MessageResult::Yes;
        ASSERT_EQ(ui_.fileDialogs.size(), dialogShown ? 1u : 0u);
        if (dialogShown) {
            EXPECT_EQ(ui_.fileDialogs[0].title, "Save session file...");
            EXPECT_EQ(ui_.fileDialogs[0].presetName, c.proposal);
            EXPECT_FALSE(ui_.fileDialogs[0].confirmOverwrite);
        }
        if (c.written) {
            EXPECT_EQ(session_.sessionFileName, *c.chosen);
            EXPECT_EQ(contentsOf(fs::path(*c.chosen).filename().string()),
                      SessionFileWriter::render("/old.wav", session_.sequences()));
        }
        EXPECT_FALSE(fs::exists(path("a.oqt")) && !c.written);
    }
    // Nothing changed: nothing asked, nothing written.
    session_.changed = false;
    script({});
    EXPECT_EQ(operations_.saveSession(true), SessionOutcome::Done);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(ui_.fileDialogs.empty());
}

TEST_F(SessionFileOperationsTest, FailedSaveAsksRetryAndKeepsTheOldFile) {
    writeFile("keep.oqt", "old contents\n");
    fs::create_directory(path("folder.oqt"));
    struct Case {
        const char* name;
        std::string target;
        bool fixOnRetry;  // the user removes the obstacle before pressing Retry
        SessionOutcome outcome;
    };
    const Case cases[] = {
        {"cannot create, cancel", path("folder.oqt"), false, SessionOutcome::Cancelled},
        {"cannot create, fixed, retry", path("folder.oqt"), true, SessionOutcome::Done},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeChangedSession();
        script({c.fixOnRetry ? MessageResult::Retry : MessageResult::Cancel}, {c.target});
        ui_.onMessage = [&] {
            if (c.fixOnRetry) {
                fs::remove(c.target);
            }
        };
        EXPECT_EQ(operations_.saveSession(false), c.outcome);
        ASSERT_GE(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].caption, "Error");
        EXPECT_EQ(ui_.messages[0].text, "Can't open session file '" + c.target + "' for writing.");
        EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::RetryCancel);
        EXPECT_EQ(session_.changed, c.outcome == SessionOutcome::Cancelled);
        EXPECT_EQ(ui_.messages.size(), 1u);
    }
    ui_.onMessage = nullptr;

    // Writing fails half-way (the process may not make files larger than 1 KiB).
    makeChangedSession();
    session_.last()->entries.resize(5000, {1, 2, 3, 4, "x", false});
    script({MessageResult::Cancel}, {path("keep.oqt")});
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const SessionOutcome outcome = operations_.saveSession(false);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(outcome, SessionOutcome::Cancelled);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{
                               SessionFileOperations::writeErrorMessage(path("keep.oqt"), EFBIG)});
    EXPECT_TRUE(session_.changed);
    EXPECT_EQ(contentsOf("keep.oqt"), "old contents\n");
    EXPECT_EQ(scratch_.entries(), 2u) << "no temporary file left";

    // A WAV name the file cannot hold: said once, no Retry that could not help.
    makeChangedSession();
    session_.wavFileName = "/rec/two\nlines.wav";
    script({}, {path("keep.oqt")});
    EXPECT_EQ(operations_.saveSession(false), SessionOutcome::Cancelled);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{SessionFileOperations::unstorableWavNameMessage(
                               "/rec/two\nlines.wav")});
    EXPECT_EQ(contentsOf("keep.oqt"), "old contents\n");
}

TEST_F(SessionFileOperationsTest, CloseFreesOrKeepsTheSession) {
    struct Case {
        const char* name;
        bool withSequence;
        MessageResult answer;
        SessionOutcome outcome;
        bool cleared;
    };
    const Case cases[] = {
        {"no sequence: names and record mode stay", false, MessageResult::Cancel,
         SessionOutcome::Done, false},
        {"changes discarded", true, MessageResult::No, SessionOutcome::Done, true},
        {"cancelled", true, MessageResult::Cancel, SessionOutcome::Cancelled, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session_.clearSequences();
        if (c.withSequence) {
            makeChangedSession();
        }
        session_.sessionFileName = "/s.oqt";
        session_.wavFileName = "/w.wav";
        session_.recordMode = true;
        script({c.answer});
        EXPECT_EQ(operations_.closeSession(), c.outcome);
        EXPECT_EQ(ui_.messages.size(), c.withSequence ? 1u : 0u);
        EXPECT_EQ(session_.count(), c.cleared || !c.withSequence ? 0 : 1);
        EXPECT_EQ(session_.sessionFileName, c.cleared ? "" : "/s.oqt");
        EXPECT_EQ(session_.wavFileName, c.cleared ? "" : "/w.wav");
        EXPECT_EQ(session_.recordMode, !c.cleared);
        EXPECT_EQ(session_.currentIndex(), 0);
    }
}

TEST_F(SessionFileOperationsTest, SavedSessionOpensAsItWas) {
    makeChangedSession();
    session_.appendSequence({"2024 01 01 00 00 00",
                             std::string(600, 'q'),
                             "answer",
                             {{10, 20, 1, 3, "", true}, {30, 40, 2, -1, "ka", false}}});
    const auto saved = session_.sequences();
    ui_.fileAnswers = {path("round.oqt")};
    ASSERT_EQ(operations_.saveSession(false), SessionOutcome::Done);
    ASSERT_EQ(operations_.closeSession(), SessionOutcome::Done);
    document_ = "/old.wav";
    operations_.openSession(path("round.oqt"));
    EXPECT_EQ(session_.sequences(), saved);
    EXPECT_EQ(session_.wavFileName, "/old.wav");
    EXPECT_TRUE(ui_.messages.empty());
}

// What a recogniser heard goes beside the session file and comes back with it; a side file
// that is missing, damaged or about another recording never stops the session from opening,
// is told once, and is never written over.
TEST_F(SessionFileOperationsTest, HeardWordsBesideTheSessionComeBackOrAreDoubtedOnce) {
    writeFile("rec.wav", "RIFF and some bytes");
    const std::string wav = path("rec.wav");
    const std::string oqt = path("s.oqt");
    const std::string side = oqt + ".json";
    const std::vector<MachineWord> words = {{"river", 0.75, 0.1, 0.4}};
    const auto saveWithWords = [&] {
        session_.clearSequences();
        session_.appendSequence({"2024 01 01 00 00 00", "q", "a", {{10, 20, 1, 3, "", false}}});
        session_.current()->machineWords = words;
        session_.wavFileName = wav;
        session_.changed = true;
        script({}, {oqt});
        return operations_.saveSession(false);
    };
    const auto reopen = [&] {
        session_.clearSequences();
        document_ = wav;
        script({});
        operations_.openSession(oqt);
        EXPECT_EQ(session_.count(), 1);
        return session_.count() == 1 ? session_.first()->machineWords : std::nullopt;
    };
    ASSERT_EQ(saveWithWords(), SessionOutcome::Done);
    EXPECT_EQ(contentsOf("s.oqt").find("river"), std::string::npos);  // the format stays its own
    EXPECT_EQ(reopen(), words);
    EXPECT_TRUE(ui_.messages.empty());

    struct Case {
        const char* name;
        std::function<void()> spoil;
        const char* told;  // empty: nothing to say
    };
    const std::vector<Case> cases = {
        {"missing", [&] { fs::remove(side); }, ""},
        {"damaged", [&] { writeFile("s.oqt.json", "{ not json"); }, "is damaged"},
        {"other recording", [&] { writeFile("rec.wav", "RIFF and other bytes"); },
         "another recording"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(side);
        writeFile("rec.wav", "RIFF and some bytes");
        ASSERT_EQ(saveWithWords(), SessionOutcome::Done);
        c.spoil();
        EXPECT_EQ(reopen(), std::nullopt);
        ASSERT_EQ(ui_.messages.size(), std::string(c.told).empty() ? 0u : 1u);
        if (!ui_.messages.empty()) {
            EXPECT_NE(ui_.messages[0].text.find(c.told), std::string::npos);
            EXPECT_NE(ui_.messages[0].text.find(side), std::string::npos);
        }
    }
    // New words are not written over the damaged file: the save says so and stays unsaved.
    writeFile("s.oqt.json", "{ not json");
    writeFile("rec.wav", "RIFF and some bytes");
    EXPECT_EQ(saveWithWords(), SessionOutcome::Cancelled);
    EXPECT_TRUE(session_.changed);
    EXPECT_EQ(contentsOf("s.oqt.json"), "{ not json");
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_NE(ui_.messages[0].text.find("are not kept"), std::string::npos);
}

}  // namespace
}  // namespace murmelix
