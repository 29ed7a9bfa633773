#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace murmelix {

// The OK and Cancel buttons the program's dialogs end with, at the right.
class FormDialogButtons {
  public:
    struct Row {
        QHBoxLayout* layout;
        QPushButton* ok;      // "ButtonOK", the default button, accepts the dialog
        QPushButton* cancel;  // "ButtonCancel", rejects it
    };
    static Row okCancel(QDialog* dialog, const char* okCaption = "&OK");
};

}  // namespace murmelix
