#pragma once

#include <QWidget>
#include <functional>

#include "listening/listening_session.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace murmelix {

class Program;

// The listening window: one listener at a time types their name, then hears the clips one by
// one (Play, as often as they like), types what they hear or chooses Nothing, and goes on. It
// shows nothing but the clip's number: not the source, not the question, not what others
// answered. Every answer is kept the moment Next is pressed.
class TFormListening : public QWidget {
  public:
    // `closed` runs when the window closes (the main window comes back).
    TFormListening(Program& program, std::string folder, std::function<void()> closed);

    void ButtonStartClick();
    void ButtonPlayClick();
    void ButtonNothingClick();
    void ButtonNextClick();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* buildWhoPage();
    QWidget* buildClipPage();
    QWidget* buildDonePage();
    void showCurrent();
    void play(int attempt);
    void answer(const std::string& text);

    Program& program_;
    std::string folder_;
    std::function<void()> closed_;
    ListeningSession session_;
    QStackedWidget* pages_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLabel* clipNumber_ = nullptr;
    QLineEdit* heard_ = nullptr;
    QLabel* problem_ = nullptr;
    QLabel* thanks_ = nullptr;
};

}  // namespace murmelix
