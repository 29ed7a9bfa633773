#include "gui/form_listening_test.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/form_dialog_buttons.h"

namespace murmelix {

TFormListeningTest::TFormListeningTest(QWidget* owner, int sequences)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      count_(sequences) {
    setObjectName("FormListeningTest");
    setWindowTitle("Make a listening test");
    all_ = new QRadioButton(QString("&All %1 OQTs of the session").arg(sequences), this);
    all_->setObjectName("RadioAll");
    all_->setChecked(true);
    these_ = new QRadioButton("&These OQTs:", this);
    these_->setObjectName("RadioThese");
    list_ = new QLineEdit(this);
    list_->setObjectName("EditSequences");
    list_->setPlaceholderText("1, 3-5");
    list_->setEnabled(false);
    connect(these_, &QRadioButton::toggled, list_, &QWidget::setEnabled);
    controls_ = new QSpinBox(this);
    controls_->setObjectName("SpinControls");
    controls_->setRange(0, 10);
    controls_->setValue(1);
    controls_->setToolTip(
        "Control clips per OQT: made with the same settings and a seed of their own, as long "
        "as the OQT");
    reversed_ = new QCheckBox("A &reversed copy of each OQT", this);
    reversed_->setObjectName("CheckReversed");
    seed_ = new QLineEdit(QString::number(QRandomGenerator::global()->bounded(1000000)), this);
    seed_->setObjectName("EditSeed");
    seed_->setToolTip("The same seed makes the same test again");

    auto* these = new QHBoxLayout;
    these->addWidget(these_);
    these->addWidget(list_, 1);
    auto* form = new QFormLayout;
    auto* controlsLabel = new QLabel("&Controls per OQT:", this);
    controlsLabel->setBuddy(controls_);
    form->addRow(controlsLabel, controls_);
    auto* seedLabel = new QLabel("S&eed:", this);
    seedLabel->setBuddy(seed_);
    form->addRow(seedLabel, seed_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(all_);
    column->addLayout(these);
    column->addLayout(form);
    column->addWidget(reversed_);
    column->addWidget(
        new QLabel("Each clip gets a number that tells nothing of where it comes\n"
                   "from. You choose the new test's folder next.",
                   this));
    column->addLayout(FormDialogButtons::okCancel(this, "&Next...").layout);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormListeningTest::accept() {
    std::string problem;
    if (these_->isChecked() &&
        !ListeningTestMaker::sequenceList(list_->text().toStdString(), count_, problem)) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(problem));
        list_->setFocus();
        return;
    }
    bool seedOk = false;
    seed_->text().trimmed().toULongLong(&seedOk);
    if (!seedOk) {
        QMessageBox::warning(this, windowTitle(), "The seed is a whole number from 0 on.");
        seed_->setFocus();
        return;
    }
    QDialog::accept();
}

std::optional<ListeningTestRequest> TFormListeningTest::ask() {
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    ListeningTestRequest request;
    std::string problem;
    if (these_->isChecked()) {
        request.sequences =
            *ListeningTestMaker::sequenceList(list_->text().toStdString(), count_, problem);
    }
    request.controls = controls_->value();
    request.reversed = reversed_->isChecked();
    request.seed = seed_->text().trimmed().toULongLong();
    return request;
}

}  // namespace murmelix
