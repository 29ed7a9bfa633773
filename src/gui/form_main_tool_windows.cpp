// The two tool windows of the main window: speed control and visual feedback. Their Extras
// menu items show and hide them; the check marks, places, sizes, slider and font are settings.
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSpinBox>
#include <algorithm>

#include "gui/form_main.h"
#include "gui/form_speed_control_window.h"
#include "gui/form_visual_feedback_window.h"

namespace murmelix {

void TFormMain::buildToolWindows() {
    formVisualFeedbackWindow_ = new TFormVisualFeedbackWindow(this);
    formSpeedControlWindow_ = new TFormSpeedControlWindow(this);
    formSpeedControlWindow_->onSpeedChange = [this](int percent) {
        program_->SetPlaybackSpeed(percent);
    };
    // Closed by the person: the menu item follows. While the main window itself closes the
    // check marks stay, so that the next start shows the windows again.
    formSpeedControlWindow_->onClosed = [this] {
        if (alive_) {
            speedWindowItem_->setChecked(false);
        }
    };
    formVisualFeedbackWindow_->onClosed = [this] {
        if (alive_) {
            feedbackWindowItem_->setChecked(false);
        }
    };
    buildWaveformWindow();
}

void TFormMain::applyToolWindowSettings() {
    const ProgramSettings& s = settings_;
    formSpeedControlWindow_->setSliderPosition(s.speedControlWindowSliderPosition);
    formVisualFeedbackWindow_->setClientSize(
        QSize(s.visualFeedbackWindowWidth, s.visualFeedbackWindowHeight));
    placeToolWindows(QPoint(s.speedControlWindowLeftPosition, s.speedControlWindowTopPosition),
                     QPoint(s.visualFeedbackWindowLeftPosition, s.visualFeedbackWindowTopPosition));
    formVisualFeedbackWindow_->setSymbolFont(s.visualFeedbackWindowFont);
    speedWindowItem_->setChecked(s.speedControlWindowVisible);
    feedbackWindowItem_->setChecked(s.visualFeedbackWindowVisible);
    applyWaveformWindowSettings();
}

namespace {

// Room between two windows, and for the frames a window manager adds to each.
constexpr int kWindowGap = 16;

QRect within(QRect window, const QRect& area) {
    window.moveLeft(std::clamp(window.left(), area.left(), area.right() - window.width()));
    window.moveTop(std::clamp(window.top(), area.top(), area.bottom() - window.height()));
    return window;
}

}  // namespace

// The settings keep (0, 0) for a tool window that was never placed: both would open in the
// screen's corner, the feedback window hiding the speed window. Such a window opens beside
// the main window instead: the speed window at its right, the feedback window at the right
// of the speed window, or at its left where the screen ends.
void TFormMain::placeToolWindows(QPoint speed, QPoint feedback) {
    const QScreen* screen = QGuiApplication::screenAt(pos());
    const QRect area =
        (screen != nullptr ? screen : QGuiApplication::primaryScreen())->availableGeometry();
    const QRect main = frameGeometry();
    QRect speedRect(speed, formSpeedControlWindow_->size() + QSize(kWindowGap, kWindowGap));
    if (speed.isNull()) {
        speedRect.moveTopLeft(QPoint(main.right() + kWindowGap, main.top()));
        speedRect = within(speedRect, area);
    }
    QRect feedbackRect(feedback, formVisualFeedbackWindow_->size() + QSize(kWindowGap, kWindowGap));
    if (feedback.isNull()) {
        feedbackRect.moveTopLeft(QPoint(speedRect.right() + 1, speedRect.top()));
        if (feedbackRect.right() > area.right()) {
            feedbackRect.moveRight(speedRect.left() - 1);
        }
        feedbackRect = within(feedbackRect, area);
    }
    formSpeedControlWindow_->move(speedRect.topLeft());
    formVisualFeedbackWindow_->move(feedbackRect.topLeft());
}

void TFormMain::captureToolWindowSettings(ProgramSettings& s) const {
    s.speedControlWindowVisible = speedWindowItem_->isChecked();
    s.speedControlWindowLeftPosition = formSpeedControlWindow_->pos().x();
    s.speedControlWindowTopPosition = formSpeedControlWindow_->pos().y();
    s.speedControlWindowSliderPosition = formSpeedControlWindow_->sliderPosition();
    s.visualFeedbackWindowVisible = feedbackWindowItem_->isChecked();
    s.visualFeedbackWindowLeftPosition = formVisualFeedbackWindow_->pos().x();
    s.visualFeedbackWindowTopPosition = formVisualFeedbackWindow_->pos().y();
    const QSize client = formVisualFeedbackWindow_->clientSize();
    s.visualFeedbackWindowWidth = client.width();
    s.visualFeedbackWindowHeight = client.height();
    s.visualFeedbackWindowFont = formVisualFeedbackWindow_->symbolFont();
    captureWaveformWindowSettings(s);
}

// Each window follows its menu item's check mark.
void TFormMain::showToolWindows() {
    MenuExtrasSpeedControlWindowClick();
    MenuExtrasVisualFeedbackWindowClick();
    followWaveformWindowItem();
}

namespace {

void follow(QWidget* window, const QAction* item) {
    if (item->isChecked()) {
        window->show();
        window->raise();
    } else if (window->isVisible()) {
        window->close();
    }
}

}  // namespace

void TFormMain::MenuExtrasSpeedControlWindowClick() {
    follow(formSpeedControlWindow_, speedWindowItem_);
}

void TFormMain::MenuExtrasVisualFeedbackWindowClick() {
    follow(formVisualFeedbackWindow_, feedbackWindowItem_);
}

void TFormMain::showSegmentNumber(int32_t number) {
    FeedbackSymbol::Context context;
    context.segToChecked = segTo_->isChecked();
    context.segToEnabled = segTo_->isEnabled();
    context.overlapChecked = overlap_->isChecked();
    context.overlapEnabled = overlap_->isEnabled();
    context.segmentCount = program_->transport().selector().segmentCount();
    context.durationEnabled = segDuration_->isEnabled();
    formVisualFeedbackWindow_->ShowSegmentNumber(number, context);
}

}  // namespace murmelix
