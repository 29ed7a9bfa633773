#pragma once

#include <QDialog>

class QLabel;
class QScrollBar;

namespace murmelix {

// The echo dialog: delay (0 to 1000 ms) and decay (0 to 100 %) on two scroll bars whose
// labels follow them. Centred over the main window when shown.
class TFormEcho : public QDialog {
  public:
    explicit TFormEcho(QWidget* owner);

    // Shows the dialog modally preset with the parameters; on OK they take the scroll
    // bars' positions and the result is true. Cancel leaves them as they were.
    bool ask(int& delayMs, int& decayPercent);

    void preset(int delayMs, int decayPercent);
    int delay() const;
    int decay() const;

    void ScrollBarDelayChange();
    void ScrollBarDecayChange();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QScrollBar* addScrollBar(const char* name, int maximum, int largeStep);

    QLabel* labelDelay_ = nullptr;
    QScrollBar* delay_ = nullptr;
    QLabel* labelDecay_ = nullptr;
    QScrollBar* decay_ = nullptr;
};

}  // namespace murmelix
