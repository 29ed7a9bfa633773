#include "random/random_number_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/text_format.h"
#include "random/random_source.h"
#include "random/source_harness.h"

namespace murmelix {
namespace {

using testing::readText;
using testing::ScratchFolder;
using testing::ScriptedUserInterface;
using testing::SourceHarness;
using testing::writeBytes;

// A random source whose draws go to a log, as the program wires them.
struct LogHarness : SourceHarness {
    RandomNumberLog log{ui};
    LogHarness() {
        onLog = [this](std::string_view text) { log.WriteLogLine(text); };
        source.pseudoGenerator().setState(1);
    }
    // One generation run: the file is opened at the start and closed at the stop.
    bool run(int draws) {
        if (!log.OpenLogFile()) {
            return false;
        }
        draw(draws, 10);
        log.CloseLogFile();
        return true;
    }
};

TEST(RandomNumberLog, CreatedAnewOnceThenAppended) {
    struct Step {
        enum { Toggle, Run } what;
        int draws = 0;                           // Run
        std::optional<std::string> answer = {};  // Toggle: the file chosen, or cancel
    };
    struct Case {
        const char* name;
        std::optional<std::string> before;  // the file's contents before
        std::vector<Step> steps;
        std::optional<std::string> after;  // no file at all when empty
    };
    const std::string first = "346\n13854878\n";
    const std::string next = "1621890440\n816282396\n1778554774\n";
    const Case cases[] = {
        {"two runs append",
         std::nullopt,
         {{Step::Toggle, 0, "log.txt"}, {Step::Run, 2}, {Step::Run, 3}},
         first + next},
        {"an old file is emptied by the first run",
         std::string("old\n"),
         {{Step::Toggle, 0, "log.txt"}, {Step::Run, 2}, {Step::Run, 3}},
         first + next},
        {"choosing the same file again starts it anew",
         std::nullopt,
         {{Step::Toggle, 0, "log.txt"},
          {Step::Run, 2},
          {Step::Toggle},
          {Step::Toggle, 0, "log.txt"},
          {Step::Run, 3}},
         next},
        {"logging off writes nothing and opens nothing",
         std::nullopt,
         {{Step::Run, 5}},
         std::nullopt},
        {"cancelled choice leaves logging off",
         std::string("old\n"),
         {{Step::Toggle, 0, std::nullopt}, {Step::Run, 5}},
         std::string("old\n")},
        {"switched off after a run: later runs write nothing",
         std::nullopt,
         {{Step::Toggle, 0, "log.txt"}, {Step::Run, 2}, {Step::Toggle}, {Step::Run, 3}},
         first},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("log.txt");
        if (c.before) {
            writeBytes(path, *c.before);
        }
        LogHarness h;
        for (const Step& step : c.steps) {
            if (step.what == Step::Run) {
                ASSERT_TRUE(h.run(step.draws));
                continue;
            }
            const size_t dialogs = h.ui.fileDialogs.size();
            if (step.answer) {
                h.ui.fileAnswers.push_back(folder.file(*step.answer));
            } else {
                h.ui.fileAnswers.push_back(std::nullopt);
            }
            const bool wasLogging = h.log.logging();
            h.log.ToggleRandomLog();
            EXPECT_EQ(h.ui.fileDialogs.size(), dialogs + (wasLogging ? 0 : 1))
                << "a dialog only when switching on";
            if (wasLogging) {
                h.ui.fileAnswers.clear();
            }
        }
        if (c.after) {
            EXPECT_EQ(readText(path), *c.after);
        } else {
            EXPECT_FALSE(std::filesystem::exists(path));
        }
        EXPECT_TRUE(h.ui.messages.empty());
        EXPECT_FALSE(h.log.isOpen());
    }
}

TEST(RandomNumberLog, LogDialogRequest) {
    struct Case {
        bool separateFolders;
        const char* startFolder;
    };
    const Case cases[] = {{true, "/texts"}, {false, ""}};
    for (const auto& c : cases) {
        ScriptedUserInterface ui;
        RandomNumberLog log(ui);
        log.folders().remember(Folders::Kind::RandomNumbers, "/texts");
        log.folders().setSeparate(c.separateFolders);
        ui.fileAnswers.push_back("/chosen/place/numbers.txt");
        log.ToggleRandomLog();
        ASSERT_EQ(ui.fileDialogs.size(), 1u);
        EXPECT_EQ(ui.fileDialogs[0].title, "Log random numbers to file...");
        EXPECT_EQ(ui.fileDialogs[0].filter, "Text File (*.txt)|*.txt|All Files (*.*)|*.*");
        EXPECT_EQ(ui.fileDialogs[0].defaultExtension, "*.txt");
        EXPECT_EQ(ui.fileDialogs[0].startFolder, c.startFolder);
        EXPECT_TRUE(log.logging());
        EXPECT_TRUE(log.startAnew());
        EXPECT_EQ(log.logFileName(), "/chosen/place/numbers.txt");
        EXPECT_EQ(log.folders().remembered(Folders::Kind::RandomNumbers), "/chosen/place/");
        const FileDialogRequest exportRequest = log.exportDialogRequest();
        EXPECT_EQ(exportRequest.title, "Write random numbers to file...");
        EXPECT_EQ(exportRequest.filter, "Text File (*.txt)|*.txt|All Files (*.*)|*.*");
        EXPECT_EQ(exportRequest.startFolder, c.separateFolders ? "/chosen/place/" : "");
    }
}

// Creates the missing folder when the first message is answered, as a user would.
class FolderMakingUi : public ScriptedUserInterface {
  public:
    std::string folder;
    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override {
        std::filesystem::create_directories(folder);
        return ScriptedUserInterface::messageBox(caption, text, icon, buttons);
    }
};

TEST(RandomNumberLog, OpeningFailsWithRetryAndCancel) {
    struct Case {
        const char* name;
        bool exporting;
        bool folderAppears;  // the user fixes the cause before answering Retry
        std::vector<MessageResult> answers;
        size_t messages;
        bool opened;
    };
    const Case cases[] = {
        {"log: retry, then cancel",
         false,
         false,
         {MessageResult::Retry, MessageResult::Cancel},
         2,
         false},
        {"log: retry succeeds", false, true, {MessageResult::Retry}, 1, true},
        {"export: retry, then cancel",
         true,
         false,
         {MessageResult::Retry, MessageResult::Cancel},
         2,
         false},
        {"export: retry succeeds", true, true, {MessageResult::Retry}, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string missing = folder.file("missing");
        const std::string path = missing + "/numbers.txt";
        FolderMakingUi ui;
        ui.folder = c.folderAppears ? missing : folder.path().string();
        ui.answers.assign(c.answers.begin(), c.answers.end());
        testing::ScriptedNoiseInput input;
        RandomNumberLog log(ui);
        RandomSource source(ui, input, &log);
        source.pseudoGenerator().setState(1);
        bool opened = false;
        if (c.exporting) {
            const auto result = log.ExportRandomNumbers(source, 2, path);
            opened = result.outcome == RandomNumberLog::ExportOutcome::Done;
            EXPECT_EQ(result.linesWritten, opened ? 2 : 0);
        } else {
            log.chooseLogFile(path);
            opened = log.OpenLogFile();
            source.NextRandomNumber(10);
            source.NextRandomNumber(10);
            log.CloseLogFile();
        }
        EXPECT_EQ(opened, c.opened);
        ASSERT_EQ(ui.messages.size(), c.messages);
        const char* format = c.exporting ? "Can't open log file '%s' for writing."
                                         : "Can't open output log file '%s' for writing.";
        for (const auto& message : ui.messages) {
            EXPECT_EQ(message.caption, "Error");
            EXPECT_EQ(message.text, formatText(format, path.c_str()));
            EXPECT_EQ(message.icon, MessageIcon::Error);
            EXPECT_EQ(message.buttons, MessageButtons::RetryCancel);
        }
        if (c.opened) {
            EXPECT_EQ(readText(path), "346\n13854878\n");
        } else {
            EXPECT_FALSE(std::filesystem::exists(path));
        }
    }
}

TEST(RandomNumberLog, WriteErrorsSayWhyAndEndAnExportAtOnce) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    LogHarness run;
    run.log.chooseLogFile("/dev/full");
    ASSERT_TRUE(run.run(3));
    EXPECT_EQ(run.ui.texts(), std::vector<std::string>{"Can't write output log file '/dev/full' "
                                                       "(No space left on device)."});
    EXPECT_EQ(run.ui.messages[0].icon, MessageIcon::Error);

    LogHarness exported;
    int64_t drawn = 0;
    const auto result = exported.log.ExportRandomNumbers(exported.source, 100'000'000, "/dev/full",
                                                         [&](int64_t done) {
                                                             drawn = done;
                                                             return true;
                                                         });
    EXPECT_EQ(result.outcome, RandomNumberLog::ExportOutcome::WriteFailed);
    EXPECT_LT(drawn, 100'000) << "a full device ends the drawing at the first failed write";
    EXPECT_EQ(
        exported.ui.texts(),
        std::vector<std::string>{"Can't write log file '/dev/full' (No space left on device)."});
}

TEST(RandomNumberLogExport, Results) {
    struct Case {
        const char* name;
        bool fileSource;  // 100 alternating samples, comparison mode, no loop
        int64_t count;
        int64_t cancelAfter;  // 0: never
        bool closeOnHalt;     // the stop hook closes the log, as the transport does
        RandomNumberLog::ExportOutcome outcome;
        std::string contents;
        size_t messages;
    };
    using Outcome = RandomNumberLog::ExportOutcome;
    const std::string seedOne = "346\n13854878\n1621890440\n816282396\n1778554774\n";
    const std::string threeFromFile = "1431655765\n357913941\n357913941\n";
    const Case cases[] = {
        {"pseudo, seed 1", false, 5, 0, false, Outcome::Done, seedOne, 0},
        {"file source ends after 3", true, 10, 0, false, Outcome::SourceFailed, threeFromFile, 1},
        {"... also when the stop closes the file", true, 10, 0, true, Outcome::SourceFailed,
         threeFromFile, 1},
        {"cancelled after 2", false, 5, 2, false, Outcome::Cancelled, "346\n13854878\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("export.txt");
        writeBytes(path, "previous contents\n");
        const std::string noise = folder.file("noise.pcm");
        writeBytes(noise, testing::rawSamples(testing::alternatingSamples(100)));
        LogHarness h;
        if (c.fileSource) {
            h.source.setLoopFile(false);
            h.source.SelectRandomSource(2, noise, false);
        }
        int closes = 0;
        if (c.closeOnHalt) {
            h.onHalt = [&] {
                ++closes;
                h.log.CloseLogFile();
            };
        }
        RandomNumberLog::ExportProgress progress;
        if (c.cancelAfter > 0) {
            progress = [&](int64_t done) { return done < c.cancelAfter; };
        }
        const auto result = h.log.ExportRandomNumbers(h.source, c.count, path, progress);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(readText(path), c.contents);
        EXPECT_EQ(result.linesWritten, std::count(c.contents.begin(), c.contents.end(), '\n'));
        EXPECT_EQ(h.ui.messages.size(), c.messages);
        EXPECT_FALSE(h.log.isOpen());
        EXPECT_EQ(closes, c.closeOnHalt ? 1 : 0);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2)
            << "no temporary file left behind";
    }
}

TEST(RandomNumberLogExport, LeavesLoggingAsItFoundIt) {
    struct Case {
        bool logging;
    };
    for (const Case c : {Case{false}, Case{true}}) {
        ScratchFolder folder;
        LogHarness h;
        h.log.chooseLogFile(folder.file("log.txt"));
        h.log.setLogging(c.logging);
        h.log.ExportRandomNumbers(h.source, 3, folder.file("export.txt"));
        EXPECT_EQ(h.log.logging(), c.logging);
        EXPECT_EQ(h.log.logFileName(), folder.file("log.txt"));
        EXPECT_TRUE(h.log.startAnew()) << "the log file was never opened";
        EXPECT_FALSE(std::filesystem::exists(folder.file("log.txt")));
        h.draw(2, 10);  // draws after the export go nowhere: no run has opened the log
        EXPECT_EQ(readText(folder.file("export.txt")), "346\n13854878\n1621890440\n");
    }
}

TEST(RandomNumberLogExport, StartsAfreshFromTheSource) {
    ScratchFolder folder;
    const std::string noise = folder.file("noise.pcm");
    std::vector<int16_t> samples(NoiseBuffer::kCapacity + 64);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(i);
    }
    writeBytes(noise, testing::rawSamples(samples));
    LogHarness h;
    h.source.setUseAbsolute(true);
    h.source.SelectRandomSource(2, noise, false);
    h.draw(5, 10);  // partly used fill
    h.source.setHalted(true);
    const auto result = h.log.ExportRandomNumbers(h.source, 2, folder.file("export.txt"));
    EXPECT_EQ(result.outcome, RandomNumberLog::ExportOutcome::Done);
    // The rest of the fill is thrown away; the file goes on after the block it came from.
    EXPECT_EQ(readText(folder.file("export.txt")), "10240\n10241\n");
    EXPECT_FALSE(h.source.halted());
}

TEST(RandomNumberLogExport, NothingBelowOne) {
    ScratchFolder folder;
    LogHarness h;
    const auto result = h.log.ExportRandomNumbers(h.source, 0, folder.file("export.txt"));
    EXPECT_EQ(result.linesWritten, 0);
    EXPECT_FALSE(std::filesystem::exists(folder.file("export.txt")));
    EXPECT_EQ(h.source.pseudoGenerator().state(), 1u);
}

}  // namespace
}  // namespace murmelix
