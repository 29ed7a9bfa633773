#pragma once

#include <QDialog>
#include <optional>

#include "listening/listening_test_maker.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace murmelix {

// Session > Listening test > Make...: which sequences, how many controls each, reversed
// copies, and the seed that shuffles the clips and seeds the controls.
class TFormListeningTest : public QDialog {
  public:
    TFormListeningTest(QWidget* owner, int sequences);

    // None on Cancel. A list of sequences that cannot be read keeps the dialog open.
    std::optional<ListeningTestRequest> ask();

  private:
    void accept() override;

    int count_;
    QRadioButton* all_ = nullptr;
    QRadioButton* these_ = nullptr;
    QLineEdit* list_ = nullptr;
    QSpinBox* controls_ = nullptr;
    QCheckBox* reversed_ = nullptr;
    QLineEdit* seed_ = nullptr;
};

}  // namespace murmelix
