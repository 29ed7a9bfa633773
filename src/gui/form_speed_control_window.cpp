#include "gui/form_speed_control_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "transport/playback_speed.h"

namespace murmelix {

TFormSpeedControlWindow::TFormSpeedControlWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName("FormSpeedControlWindow");
    setWindowTitle("Speed Control");

    labelPercentage_ = new QLabel("100%", this);
    labelPercentage_->setObjectName("LabelPercentage");
    labelPercentage_->setAlignment(Qt::AlignCenter);
    QFont bold = labelPercentage_->font();
    bold.setPointSize(12);
    bold.setBold(true);
    labelPercentage_->setFont(bold);

    trackBarSpeed_ = new QSlider(Qt::Vertical, this);
    trackBarSpeed_->setObjectName("TrackBarSpeed");
    trackBarSpeed_->setRange(0, 100);
    trackBarSpeed_->setSingleStep(1);
    trackBarSpeed_->setPageStep(10);
    trackBarSpeed_->setTickPosition(QSlider::TicksBothSides);
    trackBarSpeed_->setTickInterval(10);
    // Position 0 at the top, and the arrow keys moving the thumb the way they point.
    trackBarSpeed_->setInvertedAppearance(true);
    trackBarSpeed_->setInvertedControls(true);
    trackBarSpeed_->setValue(PlaybackSpeed::kMiddle);
    trackBarSpeed_->setCursor(Qt::PointingHandCursor);
    trackBarSpeed_->setToolTip("Vary the playback speed between 50% and 200%");
    connect(trackBarSpeed_, &QSlider::valueChanged, this,
            &TFormSpeedControlWindow::TrackBarSpeedChange);

    buttonResetSpeed_ = new QPushButton("100 %", this);
    buttonResetSpeed_->setObjectName("ButtonResetSpeed");
    buttonResetSpeed_->setCursor(Qt::PointingHandCursor);
    buttonResetSpeed_->setToolTip("Reset the playback speed to 100 %");
    connect(buttonResetSpeed_, &QPushButton::clicked, this,
            &TFormSpeedControlWindow::ButtonResetSpeedClick);

    auto* column = new QVBoxLayout(this);
    column->addWidget(labelPercentage_);
    column->addWidget(trackBarSpeed_, 1, Qt::AlignHCenter);
    column->addWidget(buttonResetSpeed_);
    setFixedSize(std::max(kClientWidth, titleWidth()), kClientHeight);
}

// A window manager cuts the caption of a window narrower than the caption and its buttons;
// the classic width is too narrow for that on most desktops. Window managers draw captions
// in a bold font of their own, often larger than the program's, with up to four buttons
// and an icon of about a line's height each.
int TFormSpeedControlWindow::titleWidth() const {
    QFont caption = font();
    caption.setBold(true);
    const QFontMetrics metrics(caption);
    return metrics.horizontalAdvance(windowTitle()) * 3 / 2 + 5 * (metrics.height() + 6);
}

int TFormSpeedControlWindow::SpeedPercent() const {
    return PlaybackSpeed::percentForPosition(trackBarSpeed_->value());
}

int TFormSpeedControlWindow::sliderPosition() const {
    return trackBarSpeed_->value();
}

void TFormSpeedControlWindow::setSliderPosition(int position) {
    trackBarSpeed_->setValue(position);
}

void TFormSpeedControlWindow::TrackBarSpeedChange() {
    const int percent = SpeedPercent();
    labelPercentage_->setText(QString::number(percent) + "%");
    if (onSpeedChange) {
        onSpeedChange(percent);
    }
}

void TFormSpeedControlWindow::ButtonResetSpeedClick() {
    setSliderPosition(PlaybackSpeed::kMiddle);
}

void TFormSpeedControlWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (onClosed) {
        onClosed();
    }
}

}  // namespace murmelix
