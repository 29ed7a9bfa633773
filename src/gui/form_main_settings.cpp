// The main window's settings: loaded at first show, saved at exit and by "Save now", and the
// Extras menu items whose state the settings keep.
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QWindow>
#include <limits>

#include "app/settings_binding.h"
#include "app/settings_file.h"
#include "gui/form_font_settings.h"
#include "gui/form_main.h"
#include "gui/form_settings.h"
#include "gui/form_text.h"

namespace murmelix {

namespace {

RecordingSettings recordingOf(const Recorder& recorder) {
    RecordingSettings recording;
    recording.recSampleRate = recorder.parameters.sampleRateText;
    recording.recChannels = recorder.parameters.channelsIndex;
    recording.recResolution = recorder.parameters.resolutionIndex;
    recording.recNormalize = recorder.parameters.normalize;
    recording.recBufferTimeMilliseconds = recorder.bufferTimeMilliseconds;
    return recording;
}

void showSpinValue(QSpinBox* spin, int value) {
    const QSignalBlocker quiet(spin);
    spin->setValue(value);
    spin->setSingleStep(SegmentControls::adjustSpinEdit(spin->value()).step);
}

void showChecked(QAbstractButton* button, bool checked) {
    const QSignalBlocker quiet(button);
    button->setChecked(checked);
}

}  // namespace

void TFormMain::LoadSettings() {
    settings_ = SettingsFile::load(settingsPath_, *this, recordingOf(program_->recorder()));
    // Devices still to be listed are taken as stored until the lists arrive.
    const int unknown = std::numeric_limits<int>::max();
    SettingsBinding::apply(
        settings_, *program_,
        {devicesListed_ ? static_cast<int>(options_.outputDevices.size()) : unknown,
         devicesListed_ ? static_cast<int>(options_.inputDevices.size()) : unknown});
    // The tool windows may be placed beside the main window: it goes to its place first.
    if (settings_.restWinPos) {
        restoreWindowPosition();
    }
    showSettingsInWindow();
}

// The program holds the loaded values now; the controls show them without running their
// handlers again.
void TFormMain::showSettingsInWindow() {
    const SegmentControls& c = program_->controls();
    showSpinValue(segDuration_, c.durationMs);
    showSpinValue(segDuration2_, c.duration2Ms);
    showChecked(segTo_, c.segTo);
    showChecked(useCueList_, c.useCueList);
    showChecked(overlap_, c.overlap);
    showChecked(zeroCross_, c.zeroCrossAdjust);
    showChecked(crossFade_, c.crossFade);
    const Transport& t = program_->transport();
    showSpinValue(randomPlayTime_, t.timedOqtSeconds);
    showChecked(t.timedOqt ? forSeconds_ : continuously_, true);

    cueLabels_->setFont(FormFontSettings::toFont(settings_.cueLabelFont));
    cueLabelColour_ = FormFontSettings::toColor(settings_.cueLabelFontColor);
    QPalette palette = cueLabels_->palette();
    palette.setColor(QPalette::Text, cueLabelColour_);
    cueLabels_->setPalette(palette);

    applyToolWindowSettings();
    if (formSettings_ != nullptr) {
        formSettings_->showSettings(settings_);
    }
    refreshRandomSourceMenu();
}

// A place on a screen that is no longer there would put the window out of reach.
void TFormMain::restoreWindowPosition() {
    const QPoint place(settings_.windowPosLeft, settings_.windowPosTop);
    const QPoint grip = place + QPoint(40, 20);
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableVirtualGeometry().contains(grip)) {
            move(place);
            // Before the window is first shown, move() places its inside there, while pos()
            // gives the outer frame: each restart would move the window up by its title bar.
            // The native window is placed by its frame, as pos() reports it.
            if (windowHandle() != nullptr) {
                windowHandle()->setFramePosition(place);
            }
            return;
        }
    }
}

ProgramSettings TFormMain::currentSettings() const {
    ProgramSettings settings = settings_;
    SettingsBinding::capture(*program_, settings);
    settings.cueLabelFont =
        FormFontSettings::fromFont(cueLabels_->font(), settings_.cueLabelFont.charset);
    settings.cueLabelFontColor = FormFontSettings::fromColor(cueLabelColour_);
    // Until it is made the dialog would show these same two settings (see settingsDialog).
    if (formSettings_ != nullptr) {
        formSettings_->captureSettings(settings);
    }
    settings.windowPosLeft = pos().x();
    settings.windowPosTop = pos().y();
    captureToolWindowSettings(settings);
    return settings;
}

bool TFormMain::SaveSettings() {
    return SettingsFile::save(settingsPath_, currentSettings(), *this);
}

void TFormMain::MenuExtrasSettingsClick() {
    listDevices();
    settingsDialog().exec();
}

// --- Random source submenu -----------------------------------------------------------------

void TFormMain::refreshRandomSourceMenu() {
    const RandomSource& source = program_->source();
    sourceKindItems_[static_cast<int>(source.kind())]->setChecked(true);
    sourceKindItems_[static_cast<int>(RandomSourceKind::File)]->setText(
        FormText::fromBytes(source.fileItemCaption()));
    useAbs_->setChecked(source.useAbsolute());
    recBest_->setChecked(source.recordBestRate());
    recNew_->setChecked(source.recordNew());
    fileLoop_->setChecked(source.loopFile());
}

void TFormMain::MenuPrefRndSrcProgramClick() {
    program_->source().SelectRandomSource(static_cast<int32_t>(RandomSourceKind::Pseudo), {},
                                          false);
    refreshRandomSourceMenu();
}
void TFormMain::MenuPrefRndSrcSoundcardClick() {
    program_->source().SelectRandomSource(static_cast<int32_t>(RandomSourceKind::SoundCard), {},
                                          false);
    refreshRandomSourceMenu();
}
void TFormMain::MenuPrefRndSrcFileClick() {
    program_->source().SelectRandomSource(static_cast<int32_t>(RandomSourceKind::File), {}, false);
    refreshRandomSourceMenu();
}
void TFormMain::MenuPrefRndSrcFractalClick() {
    program_->source().SelectRandomSource(static_cast<int32_t>(RandomSourceKind::Fractal), {},
                                          true);
    refreshRandomSourceMenu();
}
void TFormMain::MenuPrefRndSrcUseAbsClick() {
    program_->source().setUseAbsolute(useAbs_->isChecked());
}
void TFormMain::MenuPrefRndSrcRecBestClick() {
    program_->source().setRecordBestRate(recBest_->isChecked());
}
void TFormMain::MenuPrefRndSrcRecNewClick() {
    program_->source().setRecordNew(recNew_->isChecked());
}
void TFormMain::MenuPrefRndSrcFileLoopClick() {
    program_->source().setLoopFile(fileLoop_->isChecked());
}

}  // namespace murmelix
