#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_enabling.h"
#include "app/program.h"
#include "app/program_settings.h"
#include "app/program_view.h"
#include "base/user_interface.h"
#include "device/device_catalog.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QRadioButton;
class QSocketNotifier;
class QSpinBox;
class QTimer;
class QToolButton;

namespace murmelix {

class TFormAbout;
class TFormEcho;
class TFormFindRegions;
class TFormFractal;
class TFormRecParam;
class TFormSessionEdit;
class TFormSettings;
class TFormSpeedControlWindow;
class TFormVisualFeedbackWindow;
class TFormWaveform;
class TFormWriteRN;

// What the main window is started with besides its devices.
struct WindowStartOptions {
    // The settings file; empty: the usual place (beside the program or the user's
    // configuration folder).
    std::string settingsPath;
    // The sound devices the settings dialog offers, in device id order.
    std::vector<std::string> outputDevices;
    std::vector<std::string> inputDevices;
    // When set, lists the devices in place of the two lists above, once the window has
    // been drawn (or earlier, when the lists are needed).
    DeviceCatalog* catalog = nullptr;
};

// The main window: toolbar, "Segments" and "Play OQT" groups, the session panel, menus and
// status bar. It owns the Program and is its UserInterface and ProgramView; every handler
// only calls one Program operation. The dialog-showing methods are virtual so that tests
// can answer them without a modal loop.
class TFormMain : public QMainWindow, public UserInterface, public ProgramView {
  public:
    // The desktop has no program for a file or address handed to it.
    static constexpr const char* kNoProgramFor =
        "No program on this desktop could open '%s'. Open it yourself with a program of your "
        "choice (on Linux desktops the package xdg-utils sets up which program opens what).";

    using StartOptions = WindowStartOptions;

    TFormMain(Program::Devices devices, QStringList arguments, StartOptions options = {},
              QWidget* parent = nullptr);
    ~TFormMain() override;

    // The fonts the window measures first, in that order, for looking them up ahead
    // (FontLookUp): the toolkit's own, then the cue labels' until the settings are read, then
    // theirs by default.
    static QList<QFont> fontsAtStart();

    Program& program() { return *program_; }
    const std::string& settingsPath() const { return settingsPath_; }
    // Every setting as the program and the windows hold it now.
    ProgramSettings currentSettings() const;
    // Writes the settings file; false (with the message shown) when it could not be written.
    bool SaveSettings();
    // Cleared once the close of the window has been accepted.
    bool alive() const { return alive_; }
    const std::string& applicationTitle() const { return applicationTitle_; }
    // The files named on the command line have been opened (once the window was drawn).
    bool started() const { return started_; }
    std::string statusText(int panel) const;

    // UserInterface
    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    std::string caption() const override;
    void setCaption(const std::string& text) override;
    void processEvents() override;
    void setApplicationTitle(const std::string& text) override;
    void setStatusText(int panel, const std::string& text) override;
    bool askRecordingParameters(RecordingParameters& parameters) override;
    bool askEchoParameters(int& delayMs, int& decayPercent) override;
    bool askWriteCount(int& count) override;
    bool showProgress(const std::string& text, int64_t done, int64_t total) override;
    std::optional<std::string> askText(const std::string& prompt, const std::string& text) override;
    std::optional<FractalFieldTexts> askFractalFormula() override;

    // ProgramView
    void refreshCommands() override;
    void refreshSessionPanel() override;
    void showPaused(bool paused) override;
    void showSegmentNumber(int32_t number) override;
    void showSegmentSpan(int64_t firstFrame, int64_t frames) override;
    void documentReplaced() override;
    void startStopTimer(int milliseconds) override;
    void stopStopTimer() override;
    void openWithDesktop(const std::string& path) override;

    virtual void showAbout();
    // Opens a URL with the desktop; false when nothing could open it. A failure that shows
    // only later (the desktop has no program for the file) is reported then, naming it.
    virtual bool openUrl(const QUrl& url);

    // Handlers.
    void ButtonOpenClick();
    void MenuFileImportClick();
    void ButtonSaveClick();
    void ButtonRecordClick();
    void ButtonPlayClick();
    void ButtonRndPlayClick();
    void ButtonPauseClick();
    void ButtonStopClick();
    void MenuFileExitClick();
    void MenuExtrasReverseClick();
    void MenuExtrasEchoClick();
    void MenuExtrasNormalizeClick();
    void MenuHelpManualClick();
    void QuickstartGuide1Click();
    void MenuHelpDownloadClick();
    void MenuHelpAboutClick();
    void MenuExtrasSettingsClick();
    void MenuExtrasProtRNClick();
    void MenuExtrasSpeedControlWindowClick();
    void MenuExtrasVisualFeedbackWindowClick();
    void MenuExtrasWaveformWindowClick();
    void MenuFileImportLabelsClick();
    void MenuExtrasFindRegionsClick();
    // Finds regions as asked, shows them in the waveform window and lets the person replace
    // the cue table with them, add them, or keep the table.
    void findCueRegions(const CueSearch& search);
    void MenuFileExportLabelsClick();
    // Undo and redo of the cue region edits, the waveform window's own history.
    void MenuEditUndoClick();
    void MenuEditRedoClick();
    // The tier of a label file with several, chosen by name; nothing when cancelled.
    virtual std::optional<std::string> chooseLabelTier(const std::vector<std::string>& names);
    TFormWaveform* waveformWindow() { return formWaveform_; }
    void MenuExtrasWriteRNClick();
    void MenuPrefRndSrcProgramClick();
    void MenuPrefRndSrcSoundcardClick();
    void MenuPrefRndSrcFileClick();
    void MenuPrefRndSrcFractalClick();
    void MenuPrefRndSrcUseAbsClick();
    void MenuPrefRndSrcRecBestClick();
    void MenuPrefRndSrcRecNewClick();
    void MenuPrefRndSrcFileLoopClick();
    void CSpinEditSegDurationChange();
    void CSpinEditSegDuration2Change();
    void CheckBoxSegToClick();
    void CheckBoxOverlapClick();
    void CheckBoxZeroCrossAdjustClick();
    void CheckBoxCrossFadeClick();
    void CheckBoxUseCueListClick();
    void RadioGroupRandomPlayClick();
    void CSpinEditRandomPlayTimeChange();
    void TimerRandomPlayTimer();
    void ButtonCloseSessionFileClick();
    void ButtonOpenSessionFileClick();
    void ButtonSaveSessionFileClick();
    void ButtonSessionRecClick();
    void ButtonSessionPlayClick();
    void ButtonSessionPlaySeqClick();
    void ButtonSessionStopClick();
    void ButtonSessionWavClick();
    void ButtonSessionEditClick();
    void ButtonSessionPrevClick();
    void ButtonSessionNextClick();
    void MenuSessionTranscribeClick();
    void MenuSessionTranscribeAllClick();
    void MenuSessionTableClick();
    void MenuListeningMakeClick();
    void MenuListeningListenClick();
    void MenuListeningReportClick();
    void EditQuestionChange();
    void EditAnswerChange();
    void MemoCueLabelsMouseDown();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct Command {
        QAbstractButton* button = nullptr;
        QAction* action = nullptr;
        void setEnabled(bool on) const;
    };

    QWidget* buildToolBar();
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildSessionMenu();
    void buildExtrasMenu();
    void buildHelpMenu();
    void buildRandomSourceMenu(QMenu* extras);
    void refreshRandomSourceMenu();
    void LoadSettings();
    void afterFirstDrawing();
    void buildDialogs();
    TFormSettings& settingsDialog();
    // Takes the device lists when they are still to come, and the stored devices with them.
    void listDevices();
    void changeSegmentControls(const std::function<void(SegmentControls&)>& change);
    void showSettingsInWindow();
    void restoreWindowPosition();
    void buildToolWindows();
    void showToolWindows();
    void applyToolWindowSettings();
    void placeToolWindows(QPoint speed, QPoint feedback);
    void captureToolWindowSettings(ProgramSettings& settings) const;
    // The waveform window, its Extras item and the label file items (form_main_waveform).
    void buildWaveformWindow();
    void buildLabelFileItems(QMenu* file);
    // Where the label file dialogs start.
    std::string labelFolder() const;
    void applyWaveformWindowSettings();
    void captureWaveformWindowSettings(ProgramSettings& settings) const;
    void refreshWaveformCommands();
    void refreshEditMenu();
    void placeWaveformWindow();
    // Shows or hides the waveform window as its item's check mark says, keeping the focus.
    void followWaveformWindowItem();
    void showWaveformPaused(bool paused);
    void openByExtension(const QString& path);
    QWidget* buildSegmentsGroup();
    QWidget* buildPlayOqtGroup();
    QWidget* buildSessionGroup();
    static QFont cueLabelsStartFont();
    void buildStatusBar();
    void connectDevices();
    void fixWindowSize();
    QAction* addItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& key,
                     void (TFormMain::*handler)());
    QToolButton* addToolButton(const char* name, const char* hint, const QIcon& icon,
                               void (TFormMain::*handler)());
    QPushButton* sessionButton(const char* name, const char* caption, const char* hint,
                               void (TFormMain::*handler)());
    void applySegmentControls(const SegmentControlsEnabling& on);
    void applySessionControls(const SessionControlsEnabling& on);
    void refreshExplanation();
    // The folder of the listening test whose key the person picks; none on Cancel.
    std::optional<std::string> chooseListeningTest(const char* title);
    void openHelpFile(const char* fileName);
    std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool save);

    std::unique_ptr<Program> program_;
    QStringList arguments_;
    StartOptions options_;
    std::string settingsPath_;
    // The values loaded for windows that keep them only here (the tool windows).
    ProgramSettings settings_;
    QColor cueLabelColour_;
    bool shown_ = false;
    bool devicesListed_ = false;
    bool drawn_ = false;
    bool started_ = false;
    static constexpr int kFirstDrawingDeadlineMs = 1000;
    bool alive_ = true;
    std::string applicationTitle_ = "Murmelix";
    std::string defaultStatus_[3] = {"Sample:", "Cues:", "Time:"};

    Command open_, import_, save_, record_, play_, rndPlay_, pause_, stop_;
    Command sessionNew_, sessionOpen_, sessionSave_, sessionRecord_, sessionPlay_, sessionOqt_,
        sessionStop_, sessionWav_, sessionEdit_, sessionPrev_, sessionNext_, sessionTranscribe_,
        sessionTranscribeAll_, sessionTable_, listeningMake_, listeningListen_, listeningReport_;
    QAction* speedWindowItem_ = nullptr;
    QAction* feedbackWindowItem_ = nullptr;
    QAction* sourceKindItems_[4] = {nullptr, nullptr, nullptr, nullptr};  // by kind value
    QAction* useAbs_ = nullptr;
    QAction* recBest_ = nullptr;
    QAction* recNew_ = nullptr;
    QAction* fileLoop_ = nullptr;
    QAction* protRn_ = nullptr;
    QAction* writeRn_ = nullptr;
    QAction* reverse_ = nullptr;
    QAction* echo_ = nullptr;
    QAction* normalize_ = nullptr;

    QSpinBox* segDuration_ = nullptr;
    QSpinBox* segDuration2_ = nullptr;
    QCheckBox* segTo_ = nullptr;
    QCheckBox* overlap_ = nullptr;
    QCheckBox* zeroCross_ = nullptr;
    QCheckBox* crossFade_ = nullptr;
    QCheckBox* useCueList_ = nullptr;

    QGroupBox* randomPlay_ = nullptr;
    QRadioButton* continuously_ = nullptr;
    QRadioButton* forSeconds_ = nullptr;
    QSpinBox* randomPlayTime_ = nullptr;
    QTimer* timerRandomPlay_ = nullptr;

    QLineEdit* sessionFile_ = nullptr;
    QLineEdit* dateTime_ = nullptr;
    QLineEdit* sequence_ = nullptr;
    QLineEdit* question_ = nullptr;
    QLineEdit* answer_ = nullptr;
    QPlainTextEdit* cueLabels_ = nullptr;
    QPlainTextEdit* explanation_ = nullptr;
    QLabel* recordMode_ = nullptr;

    QLabel* status_[3] = {nullptr, nullptr, nullptr};
    QSocketNotifier* outputNotifier_ = nullptr;
    QSocketNotifier* inputNotifier_ = nullptr;

    TFormSessionEdit* formSessionEdit_ = nullptr;
    TFormAbout* formAbout_ = nullptr;
    TFormFractal* formFractal_ = nullptr;
    TFormWriteRN* formWriteRN_ = nullptr;
    TFormEcho* formEcho_ = nullptr;
    TFormVisualFeedbackWindow* formVisualFeedbackWindow_ = nullptr;
    TFormSpeedControlWindow* formSpeedControlWindow_ = nullptr;
    TFormWaveform* formWaveform_ = nullptr;
    QAction* waveformWindowItem_ = nullptr;
    bool waveformPlaced_ = false;
    QAction* importLabels_ = nullptr;
    QAction* findRegions_ = nullptr;
    TFormFindRegions* formFindRegions_ = nullptr;
    CueSearch cueSearch_;
    QAction* exportLabels_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    TFormRecParam* formRecParam_ = nullptr;
    QProgressDialog* progress_ = nullptr;  // while a long operation runs
    TFormSettings* formSettings_ = nullptr;
};

}  // namespace murmelix
