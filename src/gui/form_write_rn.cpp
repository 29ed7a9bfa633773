#include "gui/form_write_rn.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/form_dialog_buttons.h"
#include "gui/form_session_edit.h"

namespace murmelix {

namespace {

QPushButton* dialogButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TFormWriteRN::TFormWriteRN(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("FormWriteRN");
    setWindowTitle("Write random numbers to file...");
    auto* label = new QLabel("Please enter the number of samples to be written:", this);
    label->setObjectName("Label1");
    samples_ = new QSpinBox(this);
    samples_->setObjectName("CSpinEditSamples");
    samples_->setRange(1, kMaximum);
    samples_->setSingleStep(1000);
    samples_->setValue(1000);
    samples_->setMinimumWidth(samples_->fontMetrics().horizontalAdvance("10000000") + 40);
    label->setBuddy(samples_);
    divide_ = dialogButton(this, "Button01", ": 10");
    multiply_ = dialogButton(this, "Button10", "x 10");
    connect(divide_, &QPushButton::clicked, this, [this] { Button01Click(); });
    connect(multiply_, &QPushButton::clicked, this, [this] { Button10Click(); });

    const FormDialogButtons::Row buttons = FormDialogButtons::okCancel(this);

    auto* count = new QHBoxLayout;
    count->addWidget(samples_, 1);
    count->addWidget(divide_);
    count->addWidget(multiply_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(label);
    column->addLayout(count);
    column->addLayout(buttons.layout);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

int TFormWriteRN::value() const {
    return samples_->value();
}

void TFormWriteRN::setValue(int count) {
    samples_->setValue(count);
}

bool TFormWriteRN::ask(int& count) {
    setValue(count);
    if (exec() != QDialog::Accepted) {
        return false;
    }
    count = value();
    return true;
}

void TFormWriteRN::Button01Click() {
    samples_->setValue(std::max(1, samples_->value() / 10));
}

void TFormWriteRN::Button10Click() {
    // Multiplied in 64 bits: the maximum times ten must not wrap around.
    samples_->setValue(
        static_cast<int>(std::min<int64_t>(int64_t{samples_->value()} * 10, kMaximum)));
}

void TFormWriteRN::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOver(this, parentWidget());
    samples_->setFocus();
    samples_->selectAll();
}

}  // namespace murmelix
