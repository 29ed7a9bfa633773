// Session > Listening test: making a test of the session, the listening window, the report.
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <filesystem>

#include "base/path_text.h"
#include "gui/form_listening.h"
#include "gui/form_listening_test.h"
#include "gui/form_main.h"
#include "listening/listening_test_file.h"
#include "listening/listening_test_operations.h"

namespace murmelix {

void TFormMain::MenuListeningMakeClick() {
    TFormListeningTest dialog(this, program_->session().count());
    const auto request = dialog.ask();
    if (!request) {
        return;
    }
    const std::string session = program_->session().sessionFileName;
    const std::string proposal =
        session.empty() ? std::string("listening-test")
                        : PathText::withoutExtension(PathText::fileNameOf(session)) + "-test";
    const auto folder = program_->ui().saveFileDialog(
        {"New folder for the listening test...", "Folders (*)|*", "",
         session.empty() ? std::string() : PathText::folderPartOf(session), proposal, false,
         false});
    if (!folder || folder->empty()) {
        return;
    }
    if (ListeningTestOperations(*program_).make(*folder, *request).ok()) {
        program_->ui().messageBox(
            "Listening test",
            "The test is made in '" + *folder +
                "'. Listeners take it here with Session > Listening test > Listen..., or "
                "elsewhere with the folder 'clips' and the file 'answer-sheet.csv' from it. Keep "
                "'key.json' from them.",
            MessageIcon::Information, MessageButtons::Ok);
    }
}

std::optional<std::string> TFormMain::chooseListeningTest(const char* title) {
    const auto key = program_->ui().openFileDialog(
        {title, "Listening tests (key.json)|key.json|All Files (*.*)|*.*", "", "", "", true});
    if (!key || key->empty()) {
        return std::nullopt;
    }
    return std::filesystem::path(*key).parent_path().string();
}

void TFormMain::MenuListeningListenClick() {
    const auto folder = chooseListeningTest("Open the listening test...");
    if (!folder) {
        return;
    }
    // Blind: while a listener listens, nothing of the session or the recording is in view.
    QList<QPointer<QWidget>> hidden;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            hidden.append(window);
            window->hide();
        }
    }
    auto* listening = new TFormListening(*program_, *folder, [hidden] {
        for (const QPointer<QWidget>& window : hidden) {
            if (window) {
                window->show();
            }
        }
    });
    listening->show();
    listening->activateWindow();
}

void TFormMain::MenuListeningReportClick() {
    const auto folder = chooseListeningTest("Report on the listening test...");
    std::string page;
    if (folder && ListeningTestOperations(*program_).report(*folder, page).ok()) {
        openWithDesktop(page);
    }
}

}  // namespace murmelix
