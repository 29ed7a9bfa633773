#pragma once

#include <QDialog>

namespace murmelix {

// The About box: the program's name, version and picture; any click closes it.
class TFormAbout : public QDialog {
  public:
    explicit TFormAbout(QWidget* owner);

  protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace murmelix
