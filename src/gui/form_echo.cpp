#include "gui/form_echo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/form_dialog_buttons.h"
#include "gui/form_session_edit.h"

namespace murmelix {

TFormEcho::TFormEcho(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("FormEcho");
    setWindowTitle("Echo parameters");
    labelDelay_ = new QLabel("Delay:", this);
    labelDelay_->setObjectName("LabelDelay");
    delay_ = addScrollBar("ScrollBarDelay", 1000, 100);
    labelDecay_ = new QLabel("Decay:", this);
    labelDecay_->setObjectName("LabelDecay");
    decay_ = addScrollBar("ScrollBarDecay", 100, 10);
    connect(delay_, &QScrollBar::valueChanged, this, [this] { ScrollBarDelayChange(); });
    connect(decay_, &QScrollBar::valueChanged, this, [this] { ScrollBarDecayChange(); });

    const FormDialogButtons::Row buttons = FormDialogButtons::okCancel(this);

    auto* column = new QVBoxLayout(this);
    column->addWidget(labelDelay_);
    column->addWidget(delay_);
    column->addSpacing(6);
    column->addWidget(labelDecay_);
    column->addWidget(decay_);
    column->addSpacing(6);
    column->addLayout(buttons.layout);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QScrollBar* TFormEcho::addScrollBar(const char* name, int maximum, int largeStep) {
    auto* bar = new QScrollBar(Qt::Horizontal, this);
    bar->setObjectName(name);
    bar->setRange(0, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(largeStep);
    bar->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    // Scroll bars take no focus by default, and their keys run backwards as a slider's
    // would; here they are the dialog's only fields, which Tab must reach and the right
    // arrow must raise.
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setInvertedControls(false);
    return bar;
}

void TFormEcho::preset(int delayMs, int decayPercent) {
    delay_->setValue(delayMs);
    decay_->setValue(decayPercent);
}

int TFormEcho::delay() const {
    return delay_->value();
}

int TFormEcho::decay() const {
    return decay_->value();
}

bool TFormEcho::ask(int& delayMs, int& decayPercent) {
    preset(delayMs, decayPercent);
    if (exec() != QDialog::Accepted) {
        return false;
    }
    delayMs = delay();
    decayPercent = decay();
    return true;
}

void TFormEcho::ScrollBarDelayChange() {
    labelDelay_->setText(QString("Delay: %1 ms").arg(delay_->value()));
}

void TFormEcho::ScrollBarDecayChange() {
    labelDecay_->setText(QString("Decay: %1 %").arg(decay_->value()));
}

void TFormEcho::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOver(this, parentWidget());
}

}  // namespace murmelix
