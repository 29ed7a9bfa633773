#include "listening/listening_test_operations.h"

#include <filesystem>

#include "app/held_messages.h"
#include "base/atomic_file.h"
#include "base/input_file.h"
#include "base/text_format.h"
#include "listening/answer_store.h"
#include "listening/listening_analysis.h"
#include "listening/listening_test_file.h"
#include "listening/report_page.h"
#include "listening/results_table.h"

namespace murmelix {

Result ListeningTestOperations::make(const std::string& folder,
                                     const ListeningTestRequest& request) {
    UserInterface& ui = program_.ui();
    const Session& session = program_.session();
    if (session.empty() || !program_.document().loaded || !program_.idle()) {
        const Result refused = Result::failure(
            "A listening test is made of a session whose recording is loaded, while nothing "
            "plays or records.");
        ui.showError(refused.message());
        return refused;
    }
    const bool existed = std::filesystem::exists(folder);
    // The worker's messages wait until it is done: the window is the UI thread's.
    HeldMessages held(ui);
    ListeningTest test;
    const Result result = program_.RunInBackground(kMakeProgress, [&](const auto& progress) {
        return ListeningTestMaker::make(folder, session.sessionFileName, session.sequences(),
                                        program_.document(), request, program_.noiseInput(), held,
                                        progress, test);
    });
    held.release();
    if (!result.ok() && !existed) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    if (result.failed()) {
        ui.showError(result.message());
    }
    return result;
}

Result ListeningTestOperations::report(const std::string& folder, std::string& path) {
    UserInterface& ui = program_.ui();
    ListeningTest test;
    std::vector<SheetRow> answers;
    std::vector<std::string> problems;
    Result result = ListeningTestFile::read(folder, test);
    if (result.ok()) {
        result = AnswerStore::read(folder, test, answers, problems);
    }
    if (!result.ok()) {
        ui.showError(result.message());
        return result;
    }
    const ListeningResults results = ListeningAnalysis::of(test, answers, folder, ui);
    path = folder + "/" + kReportName;
    for (const auto& [file, text] :
         {std::pair{path, ReportPage::html(test, results)},
          std::pair{folder + "/report.csv", ResultsTable::csv(results)},
          std::pair{folder + "/report.json", ResultsTable::json(results)}}) {
        if (Result written = AtomicFile::writeWhole(file, text); !written.ok()) {
            ui.showError(written.message());
            return written;
        }
    }
    if (!problems.empty()) {
        std::string text =
            "Some answers of this test could not be read; they are left as they "
            "are and not counted:";
        for (const std::string& problem : problems) {
            text += "\n" + problem;
        }
        ui.messageBox("Warning", text, MessageIcon::Warning, MessageButtons::Ok);
    }
    return Result::success();
}

}  // namespace murmelix
