#include "gui/form_dialog_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace murmelix {

FormDialogButtons::Row FormDialogButtons::okCancel(QDialog* dialog, const char* okCaption) {
    Row row{new QHBoxLayout, new QPushButton(okCaption, dialog),
            new QPushButton("&Cancel", dialog)};
    row.ok->setObjectName("ButtonOK");
    row.ok->setDefault(true);
    row.cancel->setObjectName("ButtonCancel");
    row.cancel->setAutoDefault(false);
    QObject::connect(row.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row.layout->addStretch();
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    return row;
}

}  // namespace murmelix
