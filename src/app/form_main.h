#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "app/command_enabling.h"
#include "app/program.h"
#include "app/program_view.h"
#include "base/user_interface.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSocketNotifier;
class QSpinBox;
class QTimer;
class QToolButton;

namespace murmelix {

class TFormAbout;
class TFormSessionEdit;

// The main window: toolbar, "Segments" and "Play OQT" groups, the session panel, menus and
// status bar. It owns the Program and is its UserInterface and ProgramView; every handler
// only calls one Program operation. The dialog-showing methods are virtual so that tests
// can answer them without a modal loop.
class TFormMain : public QMainWindow, public UserInterface, public ProgramView {
  public:
    TFormMain(Program::Devices devices, QStringList arguments, QWidget* parent = nullptr);
    ~TFormMain() override;

    Program& program() { return *program_; }
    const std::string& applicationTitle() const { return applicationTitle_; }
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

    // ProgramView
    void refreshCommands() override;
    void refreshSessionPanel() override;
    void showPaused(bool paused) override;
    void startStopTimer(int milliseconds) override;
    void stopStopTimer() override;
    void openWithDesktop(const std::string& path) override;

    // The one-line text dialog of the session; nothing when cancelled.
    virtual std::optional<std::string> askSessionText(const std::string& prompt,
                                                      const std::string& text);
    virtual void showAbout();
    // Opens a URL with the desktop; false when nothing could open it.
    virtual bool openUrl(const QUrl& url);

    // Handlers.
    void ButtonOpenClick();
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
    void EditQuestionChange();
    void EditAnswerChange();
    void MemoCueLabelsMouseDown();

    // The session operations the panel offers beyond Program's.
    void ExportSequence();
    void EditSequence();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct Command {
        QAbstractButton* button = nullptr;
        QAction* action = nullptr;
        void setEnabled(bool on) const;
    };

    void buildToolBar();
    void buildMenus();
    void buildFileMenu();
    void buildSessionMenu();
    void buildExtrasMenu();
    void buildHelpMenu();
    QWidget* buildSegmentsGroup();
    QWidget* buildPlayOqtGroup();
    QWidget* buildSessionGroup();
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
    void openHelpFile(const char* fileName);
    std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool save);

    std::unique_ptr<Program> program_;
    QStringList arguments_;
    bool shown_ = false;
    std::string applicationTitle_ = "Murmelix";
    std::string defaultStatus_[3] = {"Sample:", "Cues:", "Time:"};

    Command open_, save_, record_, play_, rndPlay_, pause_, stop_;
    Command sessionNew_, sessionOpen_, sessionSave_, sessionRecord_, sessionPlay_, sessionOqt_,
        sessionStop_, sessionWav_, sessionEdit_, sessionPrev_, sessionNext_;
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
    QLabel* recordMode_ = nullptr;

    QLabel* status_[3] = {nullptr, nullptr, nullptr};
    QSocketNotifier* outputNotifier_ = nullptr;
    QSocketNotifier* inputNotifier_ = nullptr;

    TFormSessionEdit* formSessionEdit_ = nullptr;
    TFormAbout* formAbout_ = nullptr;
};

}  // namespace murmelix
