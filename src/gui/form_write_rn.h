#pragma once

#include <QDialog>

class QPushButton;
class QSpinBox;

namespace murmelix {

// Asks how many random numbers the export writes: a spin edit with buttons that divide and
// multiply by ten. Centred over the main window, the spin edit focused.
class TFormWriteRN : public QDialog {
  public:
    static constexpr int kMaximum = 1000000;

    explicit TFormWriteRN(QWidget* owner);

    // Shows the dialog modally preset with `count`; on OK it takes the spin edit's value.
    bool ask(int& count);

    int value() const;
    void setValue(int count);

    void Button01Click();
    void Button10Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QSpinBox* samples_ = nullptr;
    QPushButton* divide_ = nullptr;
    QPushButton* multiply_ = nullptr;
};

}  // namespace murmelix
