#include "gui/form_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/program.h"
#include "gui/form_session_edit.h"
#include "gui/form_text.h"

namespace murmelix {

namespace {

QCheckBox* optionBox(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QComboBox* deviceBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(20);
    return box;
}

// An index naming no item leaves the box without a selection: the default device.
void selectIndex(QComboBox* box, int index) {
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

void fill(QComboBox* box, const std::vector<std::string>& names) {
    const QSignalBlocker quiet(box);
    box->clear();
    for (const std::string& name : names) {
        box->addItem(FormText::fromBytes(name));
    }
}

}  // namespace

TFormSettings::TFormSettings(QWidget* owner, Program& program)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      program_(program) {
    setObjectName("FormSettings");
    setWindowTitle("Settings");
    close_ = new QPushButton("&Close", this);
    close_->setObjectName("ButtonClose");
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, [this] { ButtonCloseClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildProgramGroup());
    column->addWidget(buildDevicesGroup());
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TFormSettings::buildProgramGroup() {
    auto* group = new QGroupBox("Program", this);
    group->setObjectName("GroupBox1");
    useSeparateFolders_ =
        optionBox(group, "CheckBoxUseSeparateFolders", "Use separate folders for each file type");
    restWinPos_ = optionBox(group, "CheckBoxRestWinPos", "Restore window position");
    saveOnExit_ = optionBox(group, "CheckBoxSaveOnExit", "Save settings on exit");
    saveNow_ = new QPushButton("Save now", group);
    saveNow_->setObjectName("ButtonSaveNow");
    saveNow_->setAutoDefault(false);
    connect(useSeparateFolders_, &QCheckBox::clicked, this,
            [this] { CheckBoxUseSeparateFoldersClick(); });
    connect(saveNow_, &QPushButton::clicked, this, [this] { ButtonSaveNowClick(); });
    auto* grid = new QGridLayout(group);
    grid->addWidget(useSeparateFolders_, 0, 0, 1, 2);
    grid->addWidget(restWinPos_, 1, 0, 1, 2);
    grid->addWidget(saveOnExit_, 2, 0);
    grid->addWidget(saveNow_, 2, 1, Qt::AlignRight);
    return group;
}

QWidget* TFormSettings::buildDevicesGroup() {
    auto* group = new QGroupBox("Sound devices", this);
    group->setObjectName("GroupBox2");
    playback_ = deviceBox(group, "ComboBoxDevicePlayback");
    record_ = deviceBox(group, "ComboBoxDeviceRecord");
    randomSource_ = deviceBox(group, "ComboBoxDeviceRandomSource");
    bufferTime_ = new QSpinBox(group);
    bufferTime_->setObjectName("EditRecBufferTimeMilliseconds");
    bufferTime_->setRange(RecordingSettings::kMinBufferTimeMs, RecordingSettings::kMaxBufferTimeMs);
    bufferTime_->setSingleStep(100);
    bufferTime_->setValue(RecordingSettings::kMinBufferTimeMs);
    const auto onChange = [this](QComboBox* box, void (TFormSettings::*handler)()) {
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, handler] { (this->*handler)(); });
    };
    onChange(playback_, &TFormSettings::ComboBoxDevicePlaybackChange);
    onChange(record_, &TFormSettings::ComboBoxDeviceRecordChange);
    onChange(randomSource_, &TFormSettings::ComboBoxDeviceRandomSourceChange);
    connect(bufferTime_, &QSpinBox::valueChanged, this,
            [this] { EditRecBufferTimeMillisecondsChange(); });

    auto* grid = new QGridLayout(group);
    const std::pair<const char*, QComboBox*> rows[] = {
        {"Playback", playback_}, {"Record", record_}, {"Random source", randomSource_}};
    int row = 0;
    for (const auto& [caption, box] : rows) {
        auto* label = new QLabel(caption, group);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1, 1, 2);
        ++row;
    }
    grid->addWidget(new QLabel("Recording buffer", group), row, 0);
    grid->addWidget(bufferTime_, row, 1);
    grid->addWidget(new QLabel("ms", group), row, 2);
    grid->setColumnStretch(2, 1);
    return group;
}

void TFormSettings::setDeviceNames(const std::vector<std::string>& outputs,
                                   const std::vector<std::string>& inputs) {
    fill(playback_, outputs);
    fill(record_, inputs);
    fill(randomSource_, inputs);
}

void TFormSettings::showSettings(const ProgramSettings& settings) {
    useSeparateFolders_->setChecked(program_.folders().separate());
    restWinPos_->setChecked(settings.restWinPos);
    saveOnExit_->setChecked(settings.saveOnExit);
    showDevices();
    const QSignalBlocker quiet(bufferTime_);
    bufferTime_->setValue(program_.recorder().bufferTimeMilliseconds);
}

void TFormSettings::showDevices() {
    selectIndex(playback_, program_.transport().outputDeviceId);
    selectIndex(record_, program_.recorder().inputDeviceId);
    selectIndex(randomSource_, program_.source().inputDevice());
}

void TFormSettings::captureSettings(ProgramSettings& settings) const {
    settings.restWinPos = restoreWindowPosition();
    settings.saveOnExit = saveOnExit();
}

bool TFormSettings::saveOnExit() const {
    return saveOnExit_->isChecked();
}

bool TFormSettings::restoreWindowPosition() const {
    return restWinPos_->isChecked();
}

void TFormSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOver(this, parentWidget());
}

void TFormSettings::CheckBoxUseSeparateFoldersClick() {
    program_.folders().setSeparate(useSeparateFolders_->isChecked());
}

void TFormSettings::ButtonSaveNowClick() {
    if (saveNow) {
        saveNow();
    }
}

void TFormSettings::ButtonCloseClick() {
    accept();
}

void TFormSettings::ComboBoxDevicePlaybackChange() {
    program_.transport().outputDeviceId = playback_->currentIndex();
}

void TFormSettings::ComboBoxDeviceRecordChange() {
    program_.recorder().inputDeviceId = record_->currentIndex();
}

void TFormSettings::ComboBoxDeviceRandomSourceChange() {
    program_.source().setInputDevice(randomSource_->currentIndex());
}

void TFormSettings::EditRecBufferTimeMillisecondsChange() {
    program_.recorder().bufferTimeMilliseconds = bufferTime_->value();
}

}  // namespace murmelix
