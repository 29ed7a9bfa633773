#include "cli/test_command.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "audio/wav_reader.h"
#include "base/absolute_path.h"
#include "base/atomic_file.h"
#include "base/input_file.h"
#include "base/text_format.h"
#include "cli/random_source_options.h"
#include "cli/session_access.h"
#include "cli/subcommands.h"
#include "listening/answer_store.h"
#include "listening/listening_analysis.h"
#include "listening/listening_test_file.h"
#include "listening/listening_test_maker.h"
#include "listening/report_page.h"
#include "listening/results_table.h"

namespace murmelix::cli {

namespace {

int failedWith(UserInterface& ui, const std::string& message) {
    ui.showError(message);
    return kExitFailed;
}

std::vector<std::string> argumentsAfterSubcommand(const CommandLine& line) {
    auto arguments = line.positionals();
    arguments.erase(arguments.begin());
    return arguments;
}

int runMake(CommandLine& line, ConsoleUserInterface& ui) {
    ListeningTestRequest request;
    const auto folder = line.value("-o");
    request.controls =
        static_cast<int>(line.integer("--controls", 0, 100).value_or(request.controls));
    request.reversed = line.flag("--reversed");
    const auto seed = line.value("--seed");
    request.seed = seed ? static_cast<uint64_t>(parseInteger("--seed", *seed, 0,
                                                             std::numeric_limits<long long>::max()))
                        : static_cast<uint64_t>(std::time(nullptr));
    const auto list = line.value("--sequences");
    const auto arguments = argumentsAfterSubcommand(line);
    if (arguments.size() != 1 || !folder) {
        throw UsageError("expects one session file and -o TESTDIR");
    }
    SessionFileContents contents;
    AudioDocument recording;
    if (!readSessionFile(arguments[0], contents, ui) ||
        WavReader::readFile(contents.wavFileName, recording, ui) != 0) {
        return kExitFailed;
    }
    if (list) {
        std::string problem;
        const auto numbers = ListeningTestMaker::sequenceList(
            *list, static_cast<int>(contents.sequences.size()), problem);
        if (!numbers) {
            return failedWith(ui, problem);
        }
        request.sequences = *numbers;
    }
    const auto noise = makeNoiseInput();
    ListeningTest test;
    const Result made =
        ListeningTestMaker::make(AbsolutePath::of(*folder), AbsolutePath::of(arguments[0]),
                                 contents.sequences, recording, request, *noise, ui, {}, test);
    if (!made.ok()) {
        return failedWith(ui, made.message());
    }
    std::printf(
        "%zu clips in '%s' (seed %llu). Give the listeners the folder 'clips' and "
        "'%s'; keep 'key.json' from them.\n",
        test.clips.size(), folder->c_str(), static_cast<unsigned long long>(test.seed),
        ListeningTestMaker::kSheetName);
    return kExitOk;
}

int runImport(CommandLine& line, ConsoleUserInterface& ui) {
    const auto arguments = argumentsAfterSubcommand(line);
    if (arguments.size() < 2) {
        throw UsageError("expects the test folder and at least one answer sheet");
    }
    ListeningTest test;
    if (Result read = ListeningTestFile::read(arguments[0], test); !read.ok()) {
        return failedWith(ui, read.message());
    }
    bool complete = true;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& sheet = arguments[i];
        std::string text;
        InputFile file;
        if (!file.open(sheet) || !file.readAll(text)) {
            return failedWith(ui, formatText("Can't read the answer sheet '%s' (%s).",
                                             sheet.c_str(), file.reason().c_str()));
        }
        auto parsed = AnswerSheet::parse(text, test, std::filesystem::path(sheet).stem().string());
        int taken = 0;
        if (Result kept =
                AnswerStore::take(arguments[0], test, parsed.rows, parsed.problems, taken);
            !kept.ok()) {
            return failedWith(ui, kept.message());
        }
        for (const std::string& problem : parsed.problems) {
            std::fprintf(stderr, "%s, %s\n", sheet.c_str(), problem.c_str());
        }
        std::printf("%s: %d answers taken%s\n", sheet.c_str(), taken,
                    parsed.problems.empty() ? "" : "; the rows named above are not");
        complete = complete && parsed.problems.empty();
    }
    return complete ? kExitOk : kExitFailed;
}

int runReport(CommandLine& line, ConsoleUserInterface& ui) {
    const auto output = line.value("-o");
    const auto csv = line.value("--csv");
    const auto json = line.value("--json");
    const auto arguments = argumentsAfterSubcommand(line);
    if (arguments.size() != 1 || !output) {
        throw UsageError("expects the test folder and -o REPORT.html");
    }
    ListeningTest test;
    if (Result read = ListeningTestFile::read(arguments[0], test); !read.ok()) {
        return failedWith(ui, read.message());
    }
    std::vector<SheetRow> answers;
    std::vector<std::string> problems;
    if (Result read = AnswerStore::read(arguments[0], test, answers, problems); !read.ok()) {
        return failedWith(ui, read.message());
    }
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "%s\n", problem.c_str());
    }
    const ListeningResults results = ListeningAnalysis::of(test, answers, arguments[0], ui);
    for (const auto& [path, text] :
         {std::pair{output, ReportPage::html(test, results)},
          std::pair{csv, csv ? ResultsTable::csv(results) : std::string()},
          std::pair{json, json ? ResultsTable::json(results) : std::string()}}) {
        if (path) {
            if (Result written = AtomicFile::writeWhole(*path, text); !written.ok()) {
                return failedWith(ui, written.message());
            }
        }
    }
    std::printf("%s\n", results.summary.c_str());
    return kExitOk;
}

}  // namespace

int runTest(CommandLine& line, ConsoleUserInterface& ui) {
    const Subcommands test{{{"make", &runMake}, {"import", &runImport}, {"report", &runReport}},
                           {"--reversed"},
                           {"-o", "--controls", "--seed", "--sequences", "--csv", "--json"}};
    return test.run(line, ui);
}

}  // namespace murmelix::cli
