#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QSlider;

namespace murmelix {

// The speed control window: a vertical slider from 200 % (top) through 100 % (middle) down
// to 50 % (bottom), the percentage above it and a button that puts it back to 100 %.
// Modeless; it is only shown and hidden, and keeps its position while hidden.
class TFormSpeedControlWindow : public QWidget {
  public:
    // The classic client size; wider where the caption needs it (see titleWidth()).
    static constexpr int kClientWidth = 104;
    static constexpr int kClientHeight = 293;

    explicit TFormSpeedControlWindow(QWidget* owner);

    // Called at every change of the slider position, with the new percentage (50 to 200).
    std::function<void(int percent)> onSpeedChange;
    // Called whenever the window closes: by its close box or by close() from the program.
    std::function<void()> onClosed;

    // The percentage of the current position; valid while the window is hidden too.
    int SpeedPercent() const;
    int sliderPosition() const;
    // Moves the slider (clamped to 0..100); a change raises onSpeedChange as a user's move
    // does, the same position raises nothing.
    void setSliderPosition(int position);

    // Handlers.
    void TrackBarSpeedChange();
    void ButtonResetSpeedClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    int titleWidth() const;

    QLabel* labelPercentage_ = nullptr;
    QSlider* trackBarSpeed_ = nullptr;
    QPushButton* buttonResetSpeed_ = nullptr;
};

}  // namespace murmelix
