#include "gui/form_about.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "gui/form_session_edit.h"

namespace murmelix {

namespace {

// A speech bubble scattered into fragments: what the program does to a recording.
QPixmap aboutPicture() {
    QPixmap picture(96, 96);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(200, 40, 40), QColor(40, 120, 200), QColor(40, 160, 80),
                              QColor(220, 160, 20)};
    for (int i = 0; i < 8; ++i) {
        painter.setBrush(colours[i % 4]);
        painter.setPen(Qt::NoPen);
        const int x = 8 + (i * 37) % 64;
        const int y = 8 + (i * 23) % 64;
        painter.drawRoundedRect(QRectF(x, y, 22, 14), 5, 5);
    }
    return picture;
}

}  // namespace

TFormAbout::TFormAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("FormAbout");
    setWindowTitle("About Murmelix");
    auto* picture = new QLabel(this);
    picture->setObjectName("ImageAbout");
    picture->setPixmap(aboutPicture());
    picture->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel("<b>Murmelix</b>", this);
    name->setObjectName("LabelProgramName");
    name->setAlignment(Qt::AlignCenter);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    name->setFont(big);
    auto* version = new QLabel("Version 2.1", this);
    version->setObjectName("LabelVersion");
    version->setAlignment(Qt::AlignCenter);
    auto* hint = new QLabel("Click to close", this);
    hint->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(hint);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOver(this, parentWidget());
}

void TFormAbout::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}

}  // namespace murmelix
