#include "gui/form_main.h"

#include "app/command_enabling.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ini_location.h"
#include "app/settings_binding.h"
#include "app/settings_file.h"
#include "base/text_format.h"
#include "gui/form_about.h"
#include "gui/form_echo.h"
#include "gui/form_file_filter.h"
#include "gui/form_find_regions.h"
#include "gui/form_fractal.h"
#include "gui/form_rec_param.h"
#include "gui/form_session_edit.h"
#include "gui/form_settings.h"
#include "gui/form_speed_control_window.h"
#include "gui/form_text.h"
#include "gui/form_visual_feedback_window.h"
#include "gui/form_write_rn.h"

#ifndef MURMELIX_HOMEPAGE
#define MURMELIX_HOMEPAGE "https://murmelix.example.org/"
#endif

namespace murmelix {

namespace {

QSpinBox* spinEdit(QWidget* parent, const char* name, const char* hint, int low, int high,
                   int value, int step) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setToolTip(hint);
    spin->setRange(low, high);
    spin->setValue(value);
    spin->setSingleStep(step);
    spin->setMaximumWidth(spin->fontMetrics().horizontalAdvance("100000") + 40);
    return spin;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption, const char* hint,
                    bool checked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setChecked(checked);
    return box;
}

}  // namespace

TFormMain::TFormMain(Program::Devices devices, QStringList arguments, StartOptions options,
                     QWidget* parent)
    : QMainWindow(parent), arguments_(std::move(arguments)), options_(std::move(options)) {
    setObjectName("FormMain");
    program_ = std::make_unique<Program>(*this, devices, static_cast<ProgramView*>(this));
    setWindowTitle(Program::kDefaultCaption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAcceptDrops(true);

    buildMenus();
    auto* central = new QWidget(this);
    auto* top = new QHBoxLayout;
    top->addWidget(buildSegmentsGroup(), 1);
    top->addWidget(buildPlayOqtGroup(), 0, Qt::AlignTop);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 4);
    column->addWidget(buildToolBar());
    auto* line = new QFrame(central);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    column->addWidget(line);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    body->addLayout(top);
    column->addLayout(body);
    body->addWidget(buildSessionGroup());
    setCentralWidget(central);
    buildStatusBar();

    timerRandomPlay_ = new QTimer(this);
    timerRandomPlay_->setObjectName("TimerRandomPlay");
    timerRandomPlay_->setSingleShot(true);
    connect(timerRandomPlay_, &QTimer::timeout, this, [this] { TimerRandomPlayTimer(); });

    // The windows that start shown, or whose settings are read at start; the dialogs, the
    // settings dialog among them, follow once the window is on the screen (buildDialogs).
    buildToolWindows();
    settingsPath_ = options_.settingsPath.empty() ? IniLocation::resolve(IniLocation::current())
                                                  : options_.settingsPath;
    connectDevices();
    fixWindowSize();
}

TFormMain::~TFormMain() {
    // A desktop opening still under way must not report to a window that is going: its shell
    // is ended here, the desktop's program goes on.
    for (QProcess* opener : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
        opener->disconnect(this);
        delete opener;
    }
}

QWidget* TFormMain::buildSegmentsGroup() {
    const SegmentControls& c = program_->controls();
    auto* group = new QGroupBox("Segments", this);
    group->setObjectName("GroupBoxSegments");
    segDuration_ = spinEdit(
        group, "CSpinEditSegDuration", "Minimum duration of each segment (milliseconds)",
        SegmentControls::kMinDurationMs, SegmentControls::kMaxDurationMs, c.durationMs, 10);
    segDuration2_ = spinEdit(
        group, "CSpinEditSegDuration2", "Maximum duration of each segment (milliseconds)",
        SegmentControls::kMinDurationMs, SegmentControls::kMaxDurationMs, c.duration2Ms, 10);
    segTo_ = checkBox(group, "CheckBoxSegTo", "To",
                      "Vary duration of segments between minimum and maximum value", c.segTo);
    overlap_ = checkBox(group, "CheckBoxOverlap", "Overlap",
                        "Segments can be overlapping or adjacent", c.overlap);
    zeroCross_ = checkBox(group, "CheckBoxZeroCrossAdjust", "Z-Cross",
                          "Adjust the segment borders to avoid \"clicks\"", c.zeroCrossAdjust);
    crossFade_ = checkBox(group, "CheckBoxCrossFade", "X-Fade",
                          "Cross fade segments to make output sound \"softer\"", c.crossFade);
    useCueList_ =
        checkBox(group, "CheckBoxUseCueList", "Use Cue List",
                 "If the WAV file contains a Cue List, use cues instead of segments", c.useCueList);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel("From", group), 0, 0);
    grid->addWidget(segDuration_, 0, 1);
    grid->addWidget(new QLabel("ms", group), 0, 2);
    grid->addWidget(segTo_, 1, 0);
    grid->addWidget(segDuration2_, 1, 1);
    grid->addWidget(new QLabel("ms", group), 1, 2);
    grid->addWidget(overlap_, 2, 0);
    grid->addWidget(zeroCross_, 2, 1, 1, 2);
    grid->addWidget(crossFade_, 3, 0);
    grid->addWidget(useCueList_, 3, 1, 1, 2);

    connect(segDuration_, &QSpinBox::valueChanged, this, [this] { CSpinEditSegDurationChange(); });
    connect(segDuration2_, &QSpinBox::valueChanged, this,
            [this] { CSpinEditSegDuration2Change(); });
    connect(segTo_, &QCheckBox::clicked, this, [this] { CheckBoxSegToClick(); });
    connect(overlap_, &QCheckBox::clicked, this, [this] { CheckBoxOverlapClick(); });
    connect(zeroCross_, &QCheckBox::clicked, this, [this] { CheckBoxZeroCrossAdjustClick(); });
    connect(crossFade_, &QCheckBox::clicked, this, [this] { CheckBoxCrossFadeClick(); });
    connect(useCueList_, &QCheckBox::clicked, this, [this] { CheckBoxUseCueListClick(); });
    return group;
}

QWidget* TFormMain::buildPlayOqtGroup() {
    const Transport& t = program_->transport();
    randomPlay_ = new QGroupBox("Play OQT", this);
    randomPlay_->setObjectName("RadioGroupRandomPlay");
    randomPlay_->setToolTip("Play segments until \"Stop\", or stop after x seconds");
    continuously_ = new QRadioButton("continuously", randomPlay_);
    continuously_->setObjectName("RadioGroupRandomPlayItem0");
    forSeconds_ = new QRadioButton("for", randomPlay_);
    forSeconds_->setObjectName("RadioGroupRandomPlayItem1");
    (t.timedOqt ? forSeconds_ : continuously_)->setChecked(true);
    randomPlayTime_ = spinEdit(randomPlay_, "CSpinEditRandomPlayTime",
                               "Number of seconds after which OQT generation stops automatically",
                               1, 99, t.timedOqtSeconds, 1);
    auto* timed = new QHBoxLayout;
    timed->addWidget(forSeconds_);
    timed->addWidget(randomPlayTime_);
    timed->addWidget(new QLabel("s", randomPlay_));
    timed->addStretch();
    auto* column = new QVBoxLayout(randomPlay_);
    column->addWidget(continuously_);
    column->addLayout(timed);
    connect(continuously_, &QRadioButton::clicked, this, [this] { RadioGroupRandomPlayClick(); });
    connect(forSeconds_, &QRadioButton::clicked, this, [this] { RadioGroupRandomPlayClick(); });
    connect(randomPlayTime_, &QSpinBox::valueChanged, this,
            [this] { CSpinEditRandomPlayTimeChange(); });
    // A click into the box chooses "for ... s" as a change of its value does.
    randomPlayTime_->installEventFilter(this);
    randomPlayTime_->findChild<QLineEdit*>()->installEventFilter(this);
    return randomPlay_;
}

void TFormMain::buildStatusBar() {
    // The panels hold their texts in the system font; never narrower than the classic widths.
    const char* widest[3] = {"Sample: 44100 Hz \xC2\xB7 16 Bit \xC2\xB7 Stereo", "Cues: 9999",
                             "Time: 9999.999 s"};
    const int classic[3] = {170, 65, 50};
    statusBar()->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel(QString::fromUtf8(defaultStatus_[i]), this);
        status_[i]->setObjectName(QString("StatusPanel%1").arg(i));
        const int textWidth =
            status_[i]->fontMetrics().horizontalAdvance(QString::fromUtf8(widest[i])) + 8;
        status_[i]->setMinimumWidth(std::max(classic[i], textWidth));
        statusBar()->addWidget(status_[i], i == 0 ? 1 : 0);
    }
    statusBar()->setObjectName("StatusBar");
}

void TFormMain::connectDevices() {
    const auto watch = [this](int fd) -> QSocketNotifier* {
        if (fd < 0) {
            return nullptr;
        }
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { program_->pumpDevices(); });
        return notifier;
    };
    outputNotifier_ = watch(program_->outputNotifyFd());
    inputNotifier_ = watch(program_->inputNotifyFd());
}

void TFormMain::fixWindowSize() {
    ensurePolished();
    adjustSize();
    setFixedSize(sizeHint().expandedTo(minimumSizeHint()));
}

std::string TFormMain::statusText(int panel) const {
    return panel >= 0 && panel < 3 ? status_[panel]->text().toStdString() : std::string();
}

// --- UserInterface -------------------------------------------------------------------------

MessageResult TFormMain::messageBox(const std::string& caption, const std::string& text,
                                    MessageIcon icon, MessageButtons buttons) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case MessageIcon::Error:
            qicon = QMessageBox::Critical;
            break;
        case MessageIcon::Warning:
            qicon = QMessageBox::Warning;
            break;
        case MessageIcon::Question:
            qicon = QMessageBox::Question;
            break;
        case MessageIcon::Information:
            qicon = QMessageBox::Information;
            break;
        case MessageIcon::None:
            break;
    }
    QMessageBox::StandardButtons qbuttons = QMessageBox::Ok;
    switch (buttons) {
        case MessageButtons::Ok:
            qbuttons = QMessageBox::Ok;
            break;
        case MessageButtons::OkCancel:
            qbuttons = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case MessageButtons::YesNo:
            qbuttons = QMessageBox::Yes | QMessageBox::No;
            break;
        case MessageButtons::YesNoCancel:
            qbuttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        case MessageButtons::RetryCancel:
            qbuttons = QMessageBox::Retry | QMessageBox::Cancel;
            break;
    }
    QMessageBox box(qicon, FormText::fromBytes(caption), FormText::fromBytes(text), qbuttons, this);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        case QMessageBox::Retry:
            return MessageResult::Retry;
        case QMessageBox::Ok:
            return MessageResult::Ok;
        default:
            return MessageResult::Cancel;
    }
}

std::optional<std::string> TFormMain::openFileDialog(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<std::string> TFormMain::saveFileDialog(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<std::string> TFormMain::runFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(this, QString::fromUtf8(request.title));
    dialog.setNameFilters(qtNameFilters(request.filter));
    dialog.setDefaultSuffix(qtDefaultSuffix(request.defaultExtension));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.mustExist ? QFileDialog::AnyFile
                                                  : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.startFolder.empty()) {
        dialog.setDirectory(QString::fromUtf8(request.startFolder));
    }
    if (!request.presetName.empty()) {
        dialog.selectFile(QString::fromUtf8(request.presetName));
    }
    // A name typed without an extension gets the chosen type's, not always the first one's.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        if (const QString suffix = qtFilterSuffix(filter); !suffix.isEmpty()) {
            dialog.setDefaultSuffix(suffix);
        }
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    if (request.chosenFilter != nullptr) {
        *request.chosenFilter = static_cast<int>(
            std::max<qsizetype>(0, dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
    }
    return dialog.selectedFiles().front().toStdString();
}

std::string TFormMain::caption() const {
    return windowTitle().toStdString();
}

void TFormMain::setCaption(const std::string& text) {
    setWindowTitle(FormText::fromBytes(text));
}

void TFormMain::processEvents() {
    QCoreApplication::processEvents();
}

void TFormMain::setApplicationTitle(const std::string& text) {
    // Qt has no task bar text apart from the window's own title; the value is kept for
    // whoever asks.
    applicationTitle_ = text;
}

// The dialogs, in the order the program always made them. Made after the window has been
// drawn, when nothing has asked for one before: each takes a while to build, and the window
// appears sooner without them.
void TFormMain::buildDialogs() {
    if (formAbout_ != nullptr) {
        return;
    }
    settingsDialog();
    formSessionEdit_ = new TFormSessionEdit(this);
    formAbout_ = new TFormAbout(this);
    formFractal_ = new TFormFractal(this, program_->source());
    formWriteRN_ = new TFormWriteRN(this);
    formEcho_ = new TFormEcho(this);
    formRecParam_ = new TFormRecParam(this);
    formFindRegions_ = new TFormFindRegions(this);
}

// The settings dialog shows what the window has been given so far: the device names once
// they are listed, the settings once they are read.
TFormSettings& TFormMain::settingsDialog() {
    if (formSettings_ == nullptr) {
        formSettings_ = new TFormSettings(this, *program_);
        formSettings_->saveNow = [this] { return SaveSettings(); };
        if (devicesListed_) {
            formSettings_->setDeviceNames(options_.outputDevices, options_.inputDevices);
        }
        if (shown_) {
            formSettings_->showSettings(settings_);
        }
    }
    return *formSettings_;
}

bool TFormMain::askRecordingParameters(RecordingParameters& parameters) {
    buildDialogs();
    return formRecParam_->ask(parameters);
}

std::optional<FractalFieldTexts> TFormMain::askFractalFormula() {
    buildDialogs();
    return formFractal_->ask();
}

bool TFormMain::askEchoParameters(int& delayMs, int& decayPercent) {
    buildDialogs();
    return formEcho_->ask(delayMs, decayPercent);
}

bool TFormMain::askWriteCount(int& count) {
    buildDialogs();
    return formWriteRN_->ask(count);
}

bool TFormMain::showProgress(const std::string& text, int64_t done, int64_t total) {
    if (done >= total || total <= 0) {
        delete progress_;
        progress_ = nullptr;
        return true;
    }
    if (progress_ == nullptr) {
        progress_ = new QProgressDialog(FormText::fromBytes(text), "&Cancel", 0, 1000, this);
        progress_->setObjectName("ProgressDialog");
        progress_->setWindowTitle(QString::fromUtf8(Program::kDefaultCaption));
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(500);
        progress_->setAutoReset(false);
        progress_->setValue(0);
    }
    // A modal progress dialog lets the window repaint and the Cancel button work here.
    progress_->setValue(static_cast<int>(done * 1000 / total));
    return !progress_->wasCanceled();
}

void TFormMain::setStatusText(int panel, const std::string& text) {
    if (panel < 0 || panel > 2) {
        return;
    }
    // An emptied panel goes back to the text it was shown with.
    status_[panel]->setText(FormText::fromBytes(text.empty() ? defaultStatus_[panel] : text));
}

// --- ProgramView ---------------------------------------------------------------------------

void TFormMain::refreshCommands() {
    const CommandEnabling on = CommandEnabling::compute(program_->mode(), program_->document(),
                                                        program_->controls(), program_->session());
    open_.setEnabled(on.open);
    import_.setEnabled(on.open);
    save_.setEnabled(on.save);
    record_.setEnabled(on.record);
    play_.setEnabled(on.play);
    rndPlay_.setEnabled(on.oqt);
    pause_.setEnabled(on.pause);
    stop_.setEnabled(on.stop);
    if (on.randomNumbers) {
        protRn_->setEnabled(*on.randomNumbers);
        writeRn_->setEnabled(*on.randomNumbers);
    }
    for (QAction* effect : {reverse_, echo_, normalize_}) {
        effect->setEnabled(on.effects);
    }
    randomPlay_->setEnabled(on.playOqt);
    randomPlayTime_->setEnabled(on.playOqt);
    QPalette palette = randomPlayTime_->palette();
    palette.setColor(QPalette::Base,
                     QApplication::palette().color(on.playOqt ? QPalette::Base : QPalette::Button));
    randomPlayTime_->setPalette(palette);
    applySegmentControls(on.segments);
    applySessionControls(on.session);
    refreshWaveformCommands();
}

void TFormMain::applySegmentControls(const SegmentControlsEnabling& on) {
    segTo_->setEnabled(on.segTo);
    overlap_->setEnabled(on.overlap);
    zeroCross_->setEnabled(on.zeroCross);
    crossFade_->setEnabled(on.crossFade);
    useCueList_->setEnabled(on.useCueList);
    const auto paint = [](QSpinBox* spin, bool enabled) {
        spin->setEnabled(enabled);
        QPalette palette = spin->palette();
        palette.setColor(QPalette::Base, QApplication::palette().color(enabled ? QPalette::Base
                                                                               : QPalette::Button));
        spin->setPalette(palette);
    };
    paint(segDuration_, on.duration);
    paint(segDuration2_, on.duration2);
}

void TFormMain::showPaused(bool paused) {
    pause_.button->setChecked(paused);
    pause_.action->setChecked(paused);
    showWaveformPaused(paused);
}

void TFormMain::startStopTimer(int milliseconds) {
    timerRandomPlay_->start(milliseconds);
}

void TFormMain::stopStopTimer() {
    timerRandomPlay_->stop();
}

void TFormMain::openWithDesktop(const std::string& path) {
    const QString full = QFileInfo(QString::fromUtf8(path)).absoluteFilePath();
    if (!openUrl(QUrl::fromLocalFile(full))) {
        showError(formatText(kNoProgramFor, full.toStdString().c_str()));
    }
}

namespace {

// xdg-open hands a file or address to the desktop's program for it and tells by its exit
// status whether there was one; QDesktopServices only tells whether xdg-open started. Some
// desktops run that program in the foreground, which keeps xdg-open running: after three
// seconds of that the opening counts as done, and xdg-open goes on by itself (it is not
// ended with the window).
constexpr const char* kOpenScript =
    "xdg-open \"$1\" >/dev/null 2>&1 </dev/null & opener=$!\n"
    "for tick in $(seq 30); do\n"
    "    kill -0 $opener 2>/dev/null || { wait $opener; exit $?; }\n"
    "    sleep 0.1\n"
    "done\n";
// The shell's status for a command that is not there.
constexpr int kNoXdgOpen = 127;

}  // namespace

bool TFormMain::openUrl(const QUrl& url) {
    const QString target = url.isLocalFile() ? url.toLocalFile() : url.toString();
    auto* opener = new QProcess(this);
    connect(opener, &QProcess::finished, this,
            [this, opener, url, target](int code, QProcess::ExitStatus status) {
                opener->deleteLater();
                const bool opened = status == QProcess::NormalExit && code == 0;
                if (!opened && !(code == kNoXdgOpen && QDesktopServices::openUrl(url))) {
                    showError(formatText(kNoProgramFor, target.toStdString().c_str()));
                }
            });
    opener->start("/bin/sh", {"-c", kOpenScript, "murmelix", target});
    if (!opener->waitForStarted()) {
        delete opener;
        return QDesktopServices::openUrl(url);
    }
    return true;
}

std::optional<std::string> TFormMain::askText(const std::string& prompt, const std::string& text) {
    buildDialogs();
    return formSessionEdit_->ask(prompt, text);
}

void TFormMain::showAbout() {
    buildDialogs();
    formAbout_->exec();
}

// --- Window events -------------------------------------------------------------------------

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) {
        return;
    }
    shown_ = true;
    if (options_.catalog == nullptr) {
        devicesListed_ = true;
    }
    LoadSettings();
    showToolWindows();
    program_->transport().SetTransportMode(TransportMode::tmIdle);
    refreshSessionPanel();
    // A window that is never drawn (started minimised, say) still opens its files.
    QTimer::singleShot(kFirstDrawingDeadlineMs, this, [this] { afterFirstDrawing(); });
}

void TFormMain::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (drawn_) {
        return;
    }
    drawn_ = true;
    QTimer::singleShot(0, this, [this] { afterFirstDrawing(); });
}

// What can wait until the window is on the screen: the files named on the command line (a
// long recording takes seconds to read), the dialogs, the device list, and the icon. The tool
// windows were shown before the main window appeared, which the window manager then put
// over them.
void TFormMain::afterFirstDrawing() {
    if (started_) {
        return;
    }
    started_ = true;
    buildDialogs();
    QApplication::setWindowIcon(QIcon::fromTheme("murmelix", QIcon(":/murmelix.png")));
    for (QWidget* window : {static_cast<QWidget*>(formSpeedControlWindow_),
                            static_cast<QWidget*>(formVisualFeedbackWindow_)}) {
        if (window->isVisible()) {
            window->raise();
        }
    }
    for (const QString& argument : arguments_) {
        openByExtension(argument);
    }
    listDevices();
}

void TFormMain::listDevices() {
    if (devicesListed_) {
        return;
    }
    devicesListed_ = true;
    const DeviceLists lists = options_.catalog->list();
    options_.outputDevices = lists.outputs;
    options_.inputDevices = lists.inputs;
    TFormSettings& dialog = settingsDialog();
    dialog.setDeviceNames(lists.outputs, lists.inputs);
    SettingsBinding::applyDevices(
        settings_, *program_,
        {static_cast<int>(lists.outputs.size()), static_cast<int>(lists.inputs.size())});
    dialog.showDevices();
    if (!lists.failure.empty()) {
        messageBox("Wave Out Error", lists.failure, MessageIcon::Error, MessageButtons::Ok);
    }
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!program_->idle() || program_->CloseDocument()) {
        event->ignore();
        return;
    }
    alive_ = false;
    // Closed without touching their check marks, so the settings keep them shown.
    formSpeedControlWindow_->close();
    formVisualFeedbackWindow_->close();
    event->accept();
    // Leaving must not be held up by a settings file that cannot be written.
    if (settingsDialog().saveOnExit()) {
        SettingsFile::write(settingsPath_, currentSettings());
    }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == randomPlayTime_ || watched->parent() == randomPlayTime_)) {
        CSpinEditRandomPlayTimeChange();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void TFormMain::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            openByExtension(url.toLocalFile());
        }
    }
}

void TFormMain::openByExtension(const QString& path) {
    program_->OpenByExtension(path.toStdString());
    refreshRandomSourceMenu();
}

// --- Handlers: file, transport, effects, help ----------------------------------------------

void TFormMain::ButtonOpenClick() {
    program_->OpenWav({});
}
void TFormMain::MenuFileImportClick() {
    (void)program_->ImportSound({});
}
void TFormMain::ButtonSaveClick() {
    program_->SaveDocument(false);
}
void TFormMain::ButtonRecordClick() {
    program_->StartRecording();
}
void TFormMain::ButtonPlayClick() {
    program_->PlayWavFile();
}
void TFormMain::ButtonRndPlayClick() {
    program_->MakeOqt();
}
void TFormMain::ButtonPauseClick() {
    program_->PauseContinue();
    showPaused(program_->transport().paused());
}
void TFormMain::ButtonStopClick() {
    program_->StopPlayback();
}
void TFormMain::MenuFileExitClick() {
    close();
}
void TFormMain::MenuExtrasReverseClick() {
    program_->Reverse();
}
void TFormMain::MenuExtrasEchoClick() {
    program_->AddEcho();
}
void TFormMain::MenuExtrasProtRNClick() {
    program_->ToggleRandomLog();
    protRn_->setChecked(program_->log().logging());
}
void TFormMain::MenuExtrasWriteRNClick() {
    program_->ExportRandomNumbers();
}
void TFormMain::MenuExtrasNormalizeClick() {
    program_->Normalize();
}
void TFormMain::MenuHelpManualClick() {
    openHelpFile("manual.html");
}
void TFormMain::QuickstartGuide1Click() {
    openHelpFile("quickstart.html");
}
void TFormMain::MenuHelpDownloadClick() {
    if (!openUrl(QUrl(MURMELIX_HOMEPAGE))) {
        showError(formatText(kNoProgramFor, MURMELIX_HOMEPAGE));
    }
}
void TFormMain::MenuHelpAboutClick() {
    showAbout();
}

void TFormMain::openHelpFile(const char* fileName) {
    const QString path = QCoreApplication::applicationDirPath() + "/" + fileName;
    if (!QFileInfo::exists(path)) {
        showError(formatText("The help file '%s' can't be found.", path.toStdString().c_str()));
        return;
    }
    openWithDesktop(path.toStdString());
}

// --- Handlers: segments and Play OQT -------------------------------------------------------

void TFormMain::changeSegmentControls(const std::function<void(SegmentControls&)>& change) {
    SegmentControls controls = program_->controls();
    change(controls);
    program_->setSegmentControls(controls);
}

void TFormMain::CSpinEditSegDurationChange() {
    const SpinEditValue v = SegmentControls::adjustSpinEdit(segDuration_->value());
    segDuration_->setSingleStep(v.step);
    changeSegmentControls([&v](SegmentControls& c) { c.durationMs = v.value; });
}
void TFormMain::CSpinEditSegDuration2Change() {
    const SpinEditValue v = SegmentControls::adjustSpinEdit(segDuration2_->value());
    segDuration2_->setSingleStep(v.step);
    changeSegmentControls([&v](SegmentControls& c) { c.duration2Ms = v.value; });
}
void TFormMain::CheckBoxSegToClick() {
    changeSegmentControls([this](SegmentControls& c) { c.segTo = segTo_->isChecked(); });
    applySegmentControls(program_->controls().enabling(program_->mode()));
}
void TFormMain::CheckBoxOverlapClick() {
    changeSegmentControls([this](SegmentControls& c) { c.overlap = overlap_->isChecked(); });
}
void TFormMain::CheckBoxZeroCrossAdjustClick() {
    changeSegmentControls(
        [this](SegmentControls& c) { c.zeroCrossAdjust = zeroCross_->isChecked(); });
}
void TFormMain::CheckBoxCrossFadeClick() {
    changeSegmentControls([this](SegmentControls& c) { c.crossFade = crossFade_->isChecked(); });
    applySegmentControls(program_->controls().enabling(program_->mode()));
}
void TFormMain::CheckBoxUseCueListClick() {
    changeSegmentControls([this](SegmentControls& c) { c.useCueList = useCueList_->isChecked(); });
    applySegmentControls(program_->controls().enabling(program_->mode()));
}
void TFormMain::RadioGroupRandomPlayClick() {
    program_->transport().timedOqt = forSeconds_->isChecked();
}
void TFormMain::CSpinEditRandomPlayTimeChange() {
    program_->transport().timedOqtSeconds = randomPlayTime_->value();
    forSeconds_->setChecked(true);
    RadioGroupRandomPlayClick();
}
void TFormMain::TimerRandomPlayTimer() {
    program_->StopPlayback();
}

}  // namespace murmelix
