#include "gui/form_find_regions.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/form_dialog_buttons.h"

namespace murmelix {

namespace {

QSpinBox* spinBox(QWidget* owner, const char* name, int minimum, int maximum, int value,
                  const char* suffix) {
    auto* box = new QSpinBox(owner);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

}  // namespace

TFormFindRegions::TFormFindRegions(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("FormFindRegions");
    setWindowTitle("Find cue regions");
    const PauseSettings defaults;

    auto* kind = new QGroupBox("Regions", this);
    pauses_ = new QRadioButton("Between &pauses (any language)", kind);
    pauses_->setObjectName("RadioButtonPauses");
    words_ = new QRadioButton("&Words (English)", kind);
    words_->setObjectName("RadioButtonWords");
    phonemes_ = new QRadioButton("P&honemes (English)", kind);
    phonemes_->setObjectName("RadioButtonPhonemes");
    pauses_->setChecked(true);
    auto* kinds = new QVBoxLayout(kind);
    for (QRadioButton* button : {pauses_, words_, phonemes_}) {
        kinds->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this] { refreshFields(); });
    }

    auto* text = new QGroupBox("Transcript (the words spoken, in order; may be empty)", this);
    transcript_ = new QPlainTextEdit(text);
    transcript_->setObjectName("EditTranscript");
    transcript_->setMinimumHeight(fontMetrics().height() * 4);
    auto* fromFile = new QPushButton("From &file...", text);
    fromFile->setObjectName("ButtonTranscriptFile");
    connect(fromFile, &QPushButton::clicked, this, [this] { chooseTranscriptFile(); });
    auto* texts = new QVBoxLayout(text);
    texts->addWidget(transcript_);
    texts->addWidget(fromFile, 0, Qt::AlignRight);

    auto* settings = new QGroupBox("Pauses", this);
    autoThreshold_ = new QCheckBox("&Automatic threshold", settings);
    autoThreshold_->setObjectName("CheckBoxAutoThreshold");
    autoThreshold_->setChecked(true);
    threshold_ = spinBox(settings, "SpinEditThreshold", 6, 90, 40, " dB below the peak");
    minPause_ = spinBox(settings, "SpinEditMinPause", 10, 5000, defaults.minPauseMs, " ms");
    minRegion_ = spinBox(settings, "SpinEditMinRegion", 10, 5000, defaults.minRegionMs, " ms");
    padding_ = spinBox(settings, "SpinEditPadding", 0, 500, defaults.paddingMs, " ms");
    connect(autoThreshold_, &QCheckBox::toggled, this, [this] { refreshFields(); });
    auto* form = new QFormLayout(settings);
    form->addRow(autoThreshold_);
    form->addRow("Threshold:", threshold_);
    form->addRow("Shortest pause:", minPause_);
    form->addRow("Shortest region:", minRegion_);
    form->addRow("Padding:", padding_);

    ipa_ = new QCheckBox("Phoneme labels in the &International Phonetic Alphabet", this);
    ipa_->setObjectName("CheckBoxIpa");

    const FormDialogButtons::Row buttons = FormDialogButtons::okCancel(this);
    auto* column = new QVBoxLayout(this);
    column->addWidget(kind);
    column->addWidget(text);
    column->addWidget(settings);
    column->addWidget(ipa_);
    column->addLayout(buttons.layout);
    refreshFields();
}

void TFormFindRegions::refreshFields() {
    const bool pauses = pauses_->isChecked();
    for (QWidget* field : {static_cast<QWidget*>(autoThreshold_), static_cast<QWidget*>(minPause_),
                           static_cast<QWidget*>(minRegion_), static_cast<QWidget*>(padding_)}) {
        field->setEnabled(pauses);
    }
    threshold_->setEnabled(pauses && !autoThreshold_->isChecked());
    ipa_->setEnabled(phonemes_->isChecked());
}

void TFormFindRegions::chooseTranscriptFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, "Transcript", {}, "Text files (*.txt);;All files (*)");
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly)) {
        transcript_->setPlainText(QString::fromUtf8(file.readAll()));
    }
}

CueSearch TFormFindRegions::search() const {
    CueSearch search;
    search.kind = words_->isChecked()      ? CueSearch::Kind::Words
                  : phonemes_->isChecked() ? CueSearch::Kind::Phonemes
                                           : CueSearch::Kind::Pauses;
    const std::string transcript = transcript_->toPlainText().toStdString();
    search.pauses.transcript = transcript;
    if (!autoThreshold_->isChecked()) {
        search.pauses.thresholdDb = threshold_->value();
    }
    search.pauses.minPauseMs = minPause_->value();
    search.pauses.minRegionMs = minRegion_->value();
    search.pauses.paddingMs = padding_->value();
    search.recognition.transcript = transcript;
    search.recognition.ipa = ipa_->isChecked();
    return search;
}

bool TFormFindRegions::ask(CueSearch& search) {
    if (exec() != QDialog::Accepted) {
        return false;
    }
    const bool zeroCross = search.pauses.zeroCross;
    search = this->search();
    search.pauses.zeroCross = zeroCross;
    search.recognition.zeroCross = zeroCross;
    return true;
}

}  // namespace murmelix
