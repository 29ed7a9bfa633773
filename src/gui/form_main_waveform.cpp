// The waveform window beside the main window, and the label files of the File menu: the
// window shows and edits the cue regions, the menu reads and writes them as Audacity label
// tracks and Praat TextGrids.
#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <cctype>

#include "base/path_text.h"
#include "base/text_format.h"
#include "gui/form_find_regions.h"
#include "gui/form_main.h"
#include "gui/form_main_placement.h"
#include "gui/form_waveform.h"
#include "labels/label_file.h"

namespace murmelix {

namespace {

// The export's types, in the order of its filter, by the extension that makes each (the
// label writer goes by it).
constexpr const char* kExportExtensions[] = {".txt", ".TextGrid"};
constexpr const char* kExportFilter =
    "Audacity Labels (*.txt)|*.txt|Praat TextGrids (*.TextGrid)|*.TextGrid";
constexpr const char* kReplaceFile = "'%s' already exists. Do you want to replace it?";

// The chosen type decides the format; a name that does not end in its extension gets it,
// so that the file is read back (here, by Audacity, by Praat) as what it holds.
std::string withExtension(const std::string& path, const char* extension) {
    const std::string lower = PathText::lowerExtension(path);
    std::string wanted = extension;
    std::transform(wanted.begin(), wanted.end(), wanted.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == wanted ? path : path + extension;
}

constexpr const char* kLabelFilter =
    "Label Files (*.txt;*.TextGrid)|*.txt;*.TextGrid|Audacity Labels (*.txt)|*.txt|"
    "Praat TextGrids (*.TextGrid)|*.TextGrid|All Files (*.*)|*.*";
constexpr const char* kReplaceQuestion =
    "Replace the cue table with the labels of '%s'?\n\nYes replaces the cue regions, No adds "
    "the labels to them.";

constexpr const char* kNothingFound = "No cue regions were found; the cue table stays as it is.";

}  // namespace

void TFormMain::buildWaveformWindow() {
    formWaveform_ = new TFormWaveform(*program_, this);
    formWaveform_->onClosed = [this] {
        if (alive_) {
            waveformWindowItem_->setChecked(false);
        }
    };
    formWaveform_->onTableChanged = [this] { refreshCommands(); };
}

void TFormMain::buildLabelFileItems(QMenu* file) {
    importLabels_ = addItem(file, "MenuFileImportLabels", "Import &labels...", {},
                            &TFormMain::MenuFileImportLabelsClick);
    exportLabels_ = addItem(file, "MenuFileExportLabels", "Ex&port labels...", {},
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
    formWaveform_->setSnapToZeroCrossings(s.waveformWindowSnapToZeroCrossings);
}

void TFormMain::captureWaveformWindowSettings(ProgramSettings& s) const {
    s.waveformWindowVisible = waveformWindowItem_->isChecked();
    s.waveformWindowLeftPosition = formWaveform_->pos().x();
    s.waveformWindowTopPosition = formWaveform_->pos().y();
    s.waveformWindowWidth = formWaveform_->clientSize().width();
    s.waveformWindowHeight = formWaveform_->clientSize().height();
    s.waveformWindowSnapToZeroCrossings = formWaveform_->snapToZeroCrossings();
}

// A window never placed opens under the main window when it is shown (the main window has
// its place by then), or beside it: never over the main window's buttons.
void TFormMain::placeWaveformWindow() {
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    const QRect area =
        (screen != nullptr ? screen : QGuiApplication::primaryScreen())->availableGeometry();
    const int frame = 40;  // what a window manager adds around a window, at most
    const QRect place =
        placeBesideMainWindow(frameGeometry(), formWaveform_->size(), QSize(320, 160),
                              formWaveform_->minimumSize(), area, frame);
    formWaveform_->resize(place.size());
    formWaveform_->move(place.topLeft());
    waveformPlaced_ = true;
}

// F9 and the menu item take the keyboard to the window, so that its keys work at once.
void TFormMain::MenuExtrasWaveformWindowClick() {
    followWaveformWindowItem();
    if (formWaveform_->isVisible()) {
        formWaveform_->showAndFocus();
    }
}

void TFormMain::followWaveformWindowItem() {
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
    refreshEditMenu();
}

void TFormMain::refreshEditMenu() {
    const CueEditing& editing = formWaveform_->cueEditing();
    const CueEditor& editor = editing.editor();
    const auto show = [&editing](QAction* item, const char* verb, bool can,
                                 const std::string& step) {
        item->setEnabled(editing.editable() && can);
        item->setText(can ? QString("%1 %2").arg(verb, QString::fromStdString(step)).trimmed()
                          : QString(verb));
    };
    show(undo_, "&Undo", editor.canUndo(), editor.undoName());
    show(redo_, "&Redo", editor.canRedo(), editor.redoName());
}

void TFormMain::MenuEditUndoClick() {
    formWaveform_->UndoClick();
    refreshCommands();
}

void TFormMain::MenuEditRedoClick() {
    formWaveform_->RedoClick();
    refreshCommands();
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

// Label files usually lie beside their recordings: until one has been chosen, the label
// dialogs start where the recordings are.
std::string TFormMain::labelFolder() const {
    const Folders& folders = program_->folders();
    return folders.remembered(Folders::Kind::Labels).empty()
               ? folders.startFolder(Folders::Kind::Wav)
               : folders.startFolder(Folders::Kind::Labels);
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
    request.startFolder = labelFolder();
    const std::optional<std::string> path = openFileDialog(request);
    if (!path) {
        return;
    }
    program_->folders().rememberFolderOf(Folders::Kind::Labels, *path);
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
    buildDialogs();
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
    // The person decides in the waveform window, which stays usable meanwhile; a review
    // still open there gives way to this one.
    formWaveform_->reviewFound(search, std::move(found));
    formWaveform_->showAndFocus();
    refreshCommands();
}

void TFormMain::MenuFileExportLabelsClick() {
    const AudioDocument& doc = program_->document();
    if (!doc.loaded) {
        return;
    }
    int type = 0;
    FileDialogRequest request;
    request.title = "Export labels...";
    request.filter = kExportFilter;
    request.defaultExtension = "txt";
    request.startFolder = labelFolder();
    request.presetName = PathText::withoutExtension(PathText::fileNameOf(doc.fileName));
    request.chosenFilter = &type;
    const std::optional<std::string> chosen = saveFileDialog(request);
    if (!chosen) {
        return;
    }
    program_->folders().rememberFolderOf(Folders::Kind::Labels, *chosen);
    const std::string path = withExtension(*chosen, kExportExtensions[std::clamp(type, 0, 1)]);
    // The dialog asked about the name it gave; one it did not see is asked about here.
    if (path != *chosen && QFileInfo::exists(QString::fromStdString(path)) &&
        messageBox("Export labels", formatText(kReplaceFile, PathText::fileNameOf(path).c_str()),
                   MessageIcon::Question, MessageButtons::YesNo) != MessageResult::Yes) {
        return;
    }
    if (Result written = LabelFile::write(path, doc); !written.ok()) {
        messageBox("Error", written.message(), MessageIcon::Error, MessageButtons::Ok);
    }
}

}  // namespace murmelix
