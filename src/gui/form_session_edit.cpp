#include "gui/form_session_edit.h"

#include "gui/form_dialog_buttons.h"
#include "gui/form_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace murmelix {

void centreOver(QWidget* dialog, const QWidget* owner) {
    if (owner == nullptr) {
        return;
    }
    const QRect frame = owner->frameGeometry();
    dialog->move(frame.left() + (frame.width() - dialog->width()) / 2,
                 frame.top() + (frame.height() - dialog->height()) / 2);
}

TFormSessionEdit::TFormSessionEdit(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(this)),
      edit_(new QLineEdit(this)) {
    setObjectName("FormSessionEdit");
    setWindowTitle("OQT Session");
    setModal(true);
    label_->setObjectName("Label1");
    edit_->setObjectName("EditString");
    edit_->setFixedWidth(268);
    const FormDialogButtons::Row buttons = FormDialogButtons::okCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(edit_);
    layout->addLayout(buttons.layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<std::string> TFormSessionEdit::ask(const std::string& prompt,
                                                 const std::string& text) {
    label_->setText(FormText::fromBytes(prompt));
    edit_->setText(FormText::fromBytes(text));
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return edit_->text().toStdString();
}

void TFormSessionEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    adjustSize();
    centreOver(this, parentWidget());
    edit_->setFocus();
    edit_->selectAll();
}

}  // namespace murmelix
