// The waveform window beside the main window, and the label files of the File menu: the
// window shows and edits the cue regions, the menu reads and writes them as Audacity label
// tracks and Praat TextGrids.
#include <QAction>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>
#include <QScreen>
#include <algorithm>

#include "base/path_text.h"
#include "base/text_format.h"
#include "gui/form_find_regions.h"
#include "gui/form_main.h"
#include "gui/form_waveform.h"
#include "labels/label_file.h"

namespace murmelix {

namespace {

constexpr const char* kLabelFilter =
    "Label Files (*.txt;*.TextGrid)|*.txt;*.TextGrid|Audacity Labels (*.txt)|*.txt|"
    "Praat TextGrids (*.TextGrid)|*.TextGrid|All Files (*.*)|*.*";
constexpr const char* kReplaceQuestion =
    "Replace the cue table with the labels of '%s'?\n\nYes replaces the cue regions, No adds "
    "the labels to them.";

constexpr const char* kNothingFound = "No cue regions were found; the cue table stays as it is.";
constexpr const char* kFoundQuestion =
    "%d cue regions found, shown in the waveform window.\n\nYes replaces the cue table with "
    "them, No adds them to it, Cancel keeps the table as it is.";

}  // namespace

void TFormMain::buildWaveformWindow() {
    formWaveform_ = new TFormWaveform(*program_, this);
    formFindRegions_ = new TFormFindRegions(this);
    formWaveform_->onClosed = [this] {
        if (alive_) {
            waveformWindowItem_->setChecked(false);
        }
    };
}

void TFormMain::buildLabelFileItems(QMenu* file) {
    importLabels_ = addItem(file, "MenuFileImportLabels", "Import &labels...", {},
                            &TFormMain::MenuFileImportLabelsClick);
    exportLabels_ = addItem(file, "MenuFileExportLabels", "E&xport labels...", {},
                            &TFormMain::MenuFileExportLabelsClick);
    importLabels_->setEnabled(false);
    exportLabels_->setEnabled(false);
}

void TFormMain::applyWaveformWindowSettings() {
    const ProgramSettings& s = settings_;
    formWaveform_->setClientSize(QSize(s.waveformWindowWidth, s.waveformWindowHeight));
    waveformPlaced_ = s.waveformWindowLeftPosition != 0 || s.waveformWindowTopPosition != 0;
    if (waveformPlaced_) {
        formWaveform_->move(s.waveformWindowLeftPosition, s.waveformWindowTopPosition);
    }
    waveformWindowItem_->setChecked(s.waveformWindowVisible);
}

void TFormMain::captureWaveformWindowSettings(ProgramSettings& s) const {
    s.waveformWindowVisible = waveformWindowItem_->isChecked();
    s.waveformWindowLeftPosition = formWaveform_->pos().x();
    s.waveformWindowTopPosition = formWaveform_->pos().y();
    s.waveformWindowWidth = formWaveform_->clientSize().width();
    s.waveformWindowHeight = formWaveform_->clientSize().height();
}

// A window never placed opens under the main window when it is shown (the main window has
// its place by then), or as low as the screen lets it.
void TFormMain::placeWaveformWindow() {
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    const QRect area =
        (screen != nullptr ? screen : QGuiApplication::primaryScreen())->availableGeometry();
    const int frame = 40;  // what a window manager adds around a window, at most
    const QSize size = formWaveform_->size().boundedTo(area.size() - QSize(frame, frame));
    formWaveform_->resize(size);
    const int top =
        std::min(frameGeometry().bottom() + frame / 2, area.bottom() - size.height() - frame);
    const int left = std::min(frameGeometry().left(), area.right() - size.width() - frame);
    formWaveform_->move(std::max(left, area.left()), std::max(top, area.top()));
    waveformPlaced_ = true;
}

void TFormMain::MenuExtrasWaveformWindowClick() {
    if (waveformWindowItem_->isChecked()) {
        if (!waveformPlaced_) {
            placeWaveformWindow();
        }
        formWaveform_->show();
        formWaveform_->raise();
    } else if (formWaveform_->isVisible()) {
        formWaveform_->close();
    }
}

void TFormMain::refreshWaveformCommands() {
    if (formWaveform_ == nullptr) {
        return;
    }
    formWaveform_->refresh();
    const bool loaded = program_->document().loaded;
    importLabels_->setEnabled(formWaveform_->cueEditing().editable());
    findRegions_->setEnabled(formWaveform_->cueEditing().editable());
    exportLabels_->setEnabled(loaded);
}

void TFormMain::showWaveformPaused(bool paused) {
    if (formWaveform_ != nullptr) {
        formWaveform_->showPaused(paused);
    }
}

void TFormMain::showSegmentSpan(int64_t firstFrame, int64_t frames) {
    if (formWaveform_ != nullptr) {
        formWaveform_->showSegmentSpan(firstFrame, frames);
    }
}

void TFormMain::documentReplaced() {
    if (formWaveform_ != nullptr) {
        formWaveform_->documentReplaced();
    }
}

std::optional<std::string> TFormMain::chooseLabelTier(const std::vector<std::string>& names) {
    QStringList items;
    for (const std::string& name : names) {
        items << QString::fromStdString(name);
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, "Import labels", "Tier:", items, 0, false, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return chosen.toStdString();
}

void TFormMain::MenuFileImportLabelsClick() {
    CueEditing& editing = formWaveform_->cueEditing();
    if (!editing.editable()) {
        return;
    }
    FileDialogRequest request;
    request.title = "Import labels...";
    request.filter = kLabelFilter;
    request.mustExist = true;
    request.startFolder = program_->folders().startFolder(Folders::Kind::Wav);
    const std::optional<std::string> path = openFileDialog(request);
    if (!path) {
        return;
    }
    LabelFile::Contents contents;
    if (Result read = LabelFile::read(*path, contents); !read.ok()) {
        messageBox("Error", read.message(), MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    std::string tier;
    const std::vector<std::string> names = contents.tierNames();
    if (names.size() > 1) {
        const std::optional<std::string> chosen = chooseLabelTier(names);
        if (!chosen) {
            return;
        }
        tier = *chosen;
    }
    bool replace = true;
    if (program_->document().cueCount() > 0) {
        const std::string name = PathText::fileNameOf(*path);
        const MessageResult answer =
            messageBox("Import labels", formatText(kReplaceQuestion, name.c_str()),
                       MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer != MessageResult::Yes && answer != MessageResult::No) {
            return;
        }
        replace = answer == MessageResult::Yes;
    }
    const Result imported = editing.importLabels(contents, tier, *path, replace);
    if (!imported.ok()) {
        messageBox("Error", imported.message(), MessageIcon::Error, MessageButtons::Ok);
    }
    refreshCommands();
}

void TFormMain::MenuExtrasFindRegionsClick() {
    cueSearch_.pauses.zeroCross = program_->controls().zeroCrossAdjust;
    if (formWaveform_->cueEditing().editable() && formFindRegions_->ask(cueSearch_)) {
        findCueRegions(cueSearch_);
    }
}

void TFormMain::findCueRegions(const CueSearch& search) {
    std::vector<CuePoint> found;
    const Result result = program_->FindCueRegions(search, found);
    if (result.failed()) {
        messageBox("Error", result.message(), MessageIcon::Error, MessageButtons::Ok);
    }
    if (!result.ok()) {
        return;
    }
    if (found.empty()) {
        messageBox("Find cue regions", kNothingFound, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    if (!waveformWindowItem_->isChecked()) {
        waveformWindowItem_->trigger();
    }
    // Shown in the waveform window while the person decides.
    formWaveform_->setProposal(found);
    const MessageResult answer =
        messageBox("Find cue regions", formatText(kFoundQuestion, static_cast<int>(found.size())),
                   MessageIcon::Question, MessageButtons::YesNoCancel);
    formWaveform_->setProposal(std::nullopt);
    if (answer == MessageResult::Yes || answer == MessageResult::No) {
        const Result adopted =
            formWaveform_->cueEditing().adoptFound(std::move(found), answer == MessageResult::Yes);
        if (!adopted.ok()) {
            messageBox("Error", adopted.message(), MessageIcon::Error, MessageButtons::Ok);
        }
    }
    refreshCommands();
}

void TFormMain::MenuFileExportLabelsClick() {
    const AudioDocument& doc = program_->document();
    if (!doc.loaded) {
        return;
    }
    FileDialogRequest request;
    request.title = "Export labels...";
    request.filter = "Audacity Labels (*.txt)|*.txt|Praat TextGrids (*.TextGrid)|*.TextGrid";
    request.defaultExtension = "txt";
    request.startFolder = program_->folders().startFolder(Folders::Kind::Wav);
    request.presetName = PathText::withoutExtension(PathText::fileNameOf(doc.fileName));
    const std::optional<std::string> path = saveFileDialog(request);
    if (!path) {
        return;
    }
    if (Result written = LabelFile::write(*path, doc); !written.ok()) {
        messageBox("Error", written.message(), MessageIcon::Error, MessageButtons::Ok);
    }
}

}  // namespace murmelix
