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
        connect(button, &QRadioButton::toggled, this, [this] {
            followPaddingDefault();
            refreshFields();
        });
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
    fields_.automatic = new QCheckBox("&Automatic threshold", settings);
    fields_.automatic->setObjectName("CheckBoxAutoThreshold");
    fields_.automatic->setChecked(true);
    fields_.threshold = spinBox(settings, "SpinEditThreshold", 6, 90, 40, " dB below the peak");
    fields_.minPause = spinBox(settings, "SpinEditMinPause", 10, 5000, defaults.minPauseMs, " ms");
    fields_.minRegion =
        spinBox(settings, "SpinEditMinRegion", 10, 5000, defaults.minRegionMs, " ms");
    fields_.padding = spinBox(this, "SpinEditPadding", 0, 500, defaults.paddingMs, " ms");
    fields_.padding->setToolTip(
        "Added to each side of every region found, never past the middle of the pause to its "
        "neighbour");
    connect(fields_.automatic, &QCheckBox::toggled, this, [this] { refreshFields(); });
    auto* form = new QFormLayout(settings);
    form->addRow(fields_.automatic);
    form->addRow("Threshold:", fields_.threshold);
    form->addRow("Shortest pause:", fields_.minPause);
    form->addRow("Shortest region:", fields_.minRegion);
    auto* padding = new QFormLayout();
    padding->addRow("Pa&dding:", fields_.padding);

    ipa_ = new QCheckBox("Phoneme labels in the &International Phonetic Alphabet", this);
    ipa_->setObjectName("CheckBoxIpa");

    const FormDialogButtons::Row buttons = FormDialogButtons::okCancel(this);
    auto* column = new QVBoxLayout(this);
    column->addWidget(kind);
    column->addWidget(text);
    column->addWidget(settings);
    column->addLayout(padding);
    column->addWidget(ipa_);
    column->addLayout(buttons.layout);
    refreshFields();
}

void TFormFindRegions::refreshFields() {
    const bool pauses = pauses_->isChecked();
    for (QWidget* field :
         {static_cast<QWidget*>(fields_.automatic), static_cast<QWidget*>(fields_.minPause),
          static_cast<QWidget*>(fields_.minRegion)}) {
        field->setEnabled(pauses);
    }
    fields_.threshold->setEnabled(pauses && !fields_.automatic->isChecked());
    ipa_->setEnabled(phonemes_->isChecked());
}

void TFormFindRegions::followPaddingDefault() {
    const bool pauses = pauses_->isChecked();
    if (pauses == pausesChosen_) {
        return;
    }
    const int pauseDefault = PauseSettings{}.paddingMs;
    const int speechDefault = RecognitionSettings{}.paddingMs;
    if (fields_.padding->value() == (pausesChosen_ ? pauseDefault : speechDefault)) {
        fields_.padding->setValue(pauses ? pauseDefault : speechDefault);
    }
    pausesChosen_ = pauses;
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
    if (!fields_.automatic->isChecked()) {
        search.pauses.thresholdDb = fields_.threshold->value();
    }
    search.pauses.minPauseMs = fields_.minPause->value();
    search.pauses.minRegionMs = fields_.minRegion->value();
    search.pauses.paddingMs = fields_.padding->value();
    search.recognition.transcript = transcript;
    search.recognition.ipa = ipa_->isChecked();
    search.recognition.paddingMs = fields_.padding->value();
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
