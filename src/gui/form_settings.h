#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "app/program_settings.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace murmelix {

class Program;

// The settings dialog: program options and the choice of sound devices. Its controls act at
// once on the program; the two options only the main window uses (restore position, save on
// exit) are read from here when needed.
class TFormSettings : public QDialog {
  public:
    TFormSettings(QWidget* owner, Program& program);

    // The device boxes' items, in device id order; before the settings select from them.
    void setDeviceNames(const std::vector<std::string>& outputs,
                        const std::vector<std::string>& inputs);
    // Shows what the program holds now (after the settings were applied to it) and the
    // dialog's own options from `settings`.
    void showSettings(const ProgramSettings& settings);
    // Selects the devices the program holds now.
    void showDevices();
    // The dialog's own options into `settings`.
    void captureSettings(ProgramSettings& settings) const;

    bool saveOnExit() const;
    bool restoreWindowPosition() const;

    // What "Save now" does; false when the file could not be written.
    std::function<bool()> saveNow;

    void CheckBoxUseSeparateFoldersClick();
    void ButtonSaveNowClick();
    void ButtonCloseClick();
    void ComboBoxDevicePlaybackChange();
    void ComboBoxDeviceRecordChange();
    void ComboBoxDeviceRandomSourceChange();
    void EditRecBufferTimeMillisecondsChange();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* buildProgramGroup();
    QWidget* buildDevicesGroup();

    Program& program_;
    QCheckBox* useSeparateFolders_ = nullptr;
    QCheckBox* restWinPos_ = nullptr;
    QCheckBox* saveOnExit_ = nullptr;
    QPushButton* saveNow_ = nullptr;
    QComboBox* playback_ = nullptr;
    QComboBox* record_ = nullptr;
    QComboBox* randomSource_ = nullptr;
    QSpinBox* bufferTime_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace murmelix
