#include "gui/form_rec_param.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/form_dialog_buttons.h"
#include "gui/form_session_edit.h"

namespace murmelix {

TFormRecParam::TFormRecParam(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("FormRecParam");
    setWindowTitle("Recording parameters");

    auto* choices = new QHBoxLayout;
    choices->addWidget(buildSampleRateGroup());
    choices->addWidget(
        buildChoiceGroup("RadioGroupChannels", "Channels", "&Mono", "&Stereo", channels_));
    choices->addWidget(
        buildChoiceGroup("RadioGroupResolution", "Resolution", "&8 bit", "&16 bit", resolution_));

    auto* amplitude = new QGroupBox("Amplitude", this);
    amplitude->setObjectName("GroupBox1");
    normalize_ = new QCheckBox("Normalize to achieve optimal recording level", amplitude);
    normalize_->setObjectName("CheckBoxNormalize");
    (new QVBoxLayout(amplitude))->addWidget(normalize_);

    const FormDialogButtons::Row buttons = FormDialogButtons::okCancel(this, "&Start");

    auto* column = new QVBoxLayout(this);
    column->addLayout(choices);
    column->addWidget(amplitude);
    column->addLayout(buttons.layout);
    column->setSizeConstraint(QLayout::SetFixedSize);
    preset(RecordingParameters{});
}

QWidget* TFormRecParam::buildSampleRateGroup() {
    auto* group = new QGroupBox("SampleRate", this);
    group->setObjectName("GroupBoxSampleRate");
    sampleRate_ = new QComboBox(group);
    sampleRate_->setObjectName("ComboBoxSampleRate");
    sampleRate_->setEditable(true);
    sampleRate_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* rate : {"8000", "11025", "16000", "22050", "32000", "44100", "48000"}) {
        sampleRate_->addItem(rate);
    }
    auto* column = new QVBoxLayout(group);
    column->addWidget(sampleRate_);
    column->addStretch();
    return group;
}

QWidget* TFormRecParam::buildChoiceGroup(const char* name, const char* caption, const char* first,
                                         const char* second, QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, this);
    box->setObjectName(name);
    group = new QButtonGroup(box);
    auto* column = new QVBoxLayout(box);
    int id = 0;
    for (const char* item : {first, second}) {
        auto* button = new QRadioButton(item, box);
        button->setObjectName(QString("%1Item%2").arg(name).arg(id));
        group->addButton(button, id++);
        column->addWidget(button);
    }
    return box;
}

void TFormRecParam::preset(const RecordingParameters& parameters) {
    sampleRate_->setEditText(QString::fromUtf8(parameters.sampleRateText));
    const auto check = [](QButtonGroup* group, int index) {
        if (QAbstractButton* button = group->button(index == 0 ? 0 : 1)) {
            button->setChecked(true);
        }
    };
    check(channels_, parameters.channelsIndex);
    check(resolution_, parameters.resolutionIndex);
    normalize_->setChecked(parameters.normalize);
}

RecordingParameters TFormRecParam::values() const {
    RecordingParameters parameters;
    parameters.sampleRateText = sampleRate_->currentText().toStdString();
    parameters.channelsIndex = channels_->checkedId();
    parameters.resolutionIndex = resolution_->checkedId();
    parameters.normalize = normalize_->isChecked();
    return parameters;
}

bool TFormRecParam::ask(RecordingParameters& parameters) {
    preset(parameters);
    if (exec() != QDialog::Accepted) {
        return false;
    }
    parameters = values();
    return true;
}

void TFormRecParam::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOver(this, parentWidget());
    sampleRate_->setFocus();
}

}  // namespace murmelix
