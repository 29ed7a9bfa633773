#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace murmelix {

// The session's one-line text dialog: a prompt, one edit, OK and Cancel. Centred on the
// window that owns it whenever it is shown.
class TFormSessionEdit : public QDialog {
  public:
    explicit TFormSessionEdit(QWidget* owner);

    // Shows the dialog modally with `prompt` and `text`; the edited text on OK.
    std::optional<std::string> ask(const std::string& prompt, const std::string& text);

    QLabel* label() const { return label_; }
    QLineEdit* edit() const { return edit_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* label_;
    QLineEdit* edit_;
};

// Centres `dialog` over `owner` (halves rounded toward zero).
void centreOver(QWidget* dialog, const QWidget* owner);

}  // namespace murmelix
