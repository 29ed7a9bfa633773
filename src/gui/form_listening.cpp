#include "gui/form_listening.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/program.h"

namespace murmelix {

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

QLabel* text(QWidget* parent, const QString& words, double scale = 1.0) {
    auto* label = new QLabel(words, parent);
    label->setWordWrap(true);
    if (scale != 1.0) {
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() * scale);
        label->setFont(font);
    }
    return label;
}

}  // namespace

TFormListening::TFormListening(Program& program, std::string folder, std::function<void()> closed)
    : QWidget(nullptr, Qt::Window),
      program_(program),
      folder_(std::move(folder)),
      closed_(std::move(closed)) {
    setObjectName("FormListening");
    setWindowTitle("Listening test");
    setAttribute(Qt::WA_DeleteOnClose);
    pages_ = new QStackedWidget(this);
    pages_->addWidget(buildWhoPage());
    pages_->addWidget(buildClipPage());
    pages_->addWidget(buildDonePage());
    problem_ = new QLabel(this);
    problem_->setObjectName("LabelProblem");
    QPalette red = problem_->palette();
    red.setColor(QPalette::WindowText, QColor(170, 0, 0));
    problem_->setPalette(red);
    auto* column = new QVBoxLayout(this);
    column->addWidget(pages_);
    column->addWidget(problem_);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

QWidget* TFormListening::buildWhoPage() {
    auto* page = new QWidget(this);
    name_ = new QLineEdit(page);
    name_->setObjectName("EditListener");
    auto* start = button(page, "ButtonStart", "&Start");
    connect(start, &QPushButton::clicked, this, [this] { ButtonStartClick(); });
    connect(name_, &QLineEdit::returnPressed, this, [this] { ButtonStartClick(); });
    auto* column = new QVBoxLayout(page);
    column->addWidget(text(page, "Listening test", 1.6));
    column->addWidget(text(page,
                           "You will hear short clips, one after another. Write down what you "
                           "hear in each, or choose Nothing. There are no right answers."));
    auto* label = text(page, "Your &name or the code you were given:");
    label->setBuddy(name_);
    column->addWidget(label);
    auto* row = new QHBoxLayout;
    row->addWidget(name_, 1);
    row->addWidget(start);
    column->addLayout(row);
    column->addStretch();
    return page;
}

QWidget* TFormListening::buildClipPage() {
    auto* page = new QWidget(this);
    clipNumber_ = text(page, QString(), 1.6);
    clipNumber_->setObjectName("LabelClip");
    heard_ = new QLineEdit(page);
    heard_->setObjectName("EditHeard");
    auto* play = button(page, "ButtonPlay", "&Play");
    auto* nothing = button(page, "ButtonNothing", "N&othing");
    auto* next = button(page, "ButtonNext", "&Next");
    connect(play, &QPushButton::clicked, this, [this] { ButtonPlayClick(); });
    connect(nothing, &QPushButton::clicked, this, [this] { ButtonNothingClick(); });
    connect(next, &QPushButton::clicked, this, [this] { ButtonNextClick(); });
    connect(heard_, &QLineEdit::returnPressed, this, [this] { ButtonNextClick(); });
    auto* column = new QVBoxLayout(page);
    column->addWidget(clipNumber_);
    auto* playRow = new QHBoxLayout;
    playRow->addWidget(play);
    playRow->addWidget(text(page, "Play it as often as you like (F5)."), 1);
    column->addLayout(playRow);
    auto* label = text(page, "What do you &hear?");
    label->setBuddy(heard_);
    column->addWidget(label);
    column->addWidget(heard_);
    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(nothing);
    answerRow->addStretch();
    answerRow->addWidget(next);
    column->addLayout(answerRow);
    column->addStretch();
    return page;
}

QWidget* TFormListening::buildDonePage() {
    auto* page = new QWidget(this);
    thanks_ = text(page, QString(), 1.3);
    thanks_->setObjectName("LabelThanks");
    auto* close = button(page, "ButtonClose", "&Close");
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* column = new QVBoxLayout(page);
    column->addWidget(thanks_);
    column->addWidget(close, 0, Qt::AlignRight);
    column->addStretch();
    return page;
}

void TFormListening::ButtonStartClick() {
    const Result opened = session_.open(folder_, name_->text().toStdString());
    problem_->setText(opened.ok() ? QString() : QString::fromStdString(opened.message()));
    if (opened.ok()) {
        showCurrent();
    }
}

void TFormListening::showCurrent() {
    program_.StopPlayback();
    heard_->clear();
    if (session_.current() == nullptr) {
        thanks_->setText(QString("Thank you, %1. All %2 clips are answered.")
                             .arg(QString::fromStdString(session_.listener()))
                             .arg(session_.count()));
        pages_->setCurrentIndex(2);
        return;
    }
    clipNumber_->setText(QString("Clip %1 of %2").arg(session_.position()).arg(session_.count()));
    pages_->setCurrentIndex(1);
    heard_->setFocus();
}

void TFormListening::ButtonPlayClick() {
    play(0);
}

void TFormListening::play(int attempt) {
    if (session_.current() == nullptr) {
        return;
    }
    if (!program_.idle()) {
        // A clip still playing ends only once the device has given its buffer back: play
        // again as soon as it has (the sound device answers within a few buffers' time).
        program_.StopPlayback();
        if (attempt < 100) {
            QTimer::singleShot(20, this, [this, attempt] { play(attempt + 1); });
        }
        return;
    }
    (void)program_.PlayClip(session_.currentPath());  // the reader's message is shown
    heard_->setFocus();
}

void TFormListening::answer(const std::string& text) {
    const Result kept = session_.answer(text);
    problem_->setText(kept.ok() ? QString() : QString::fromStdString(kept.message()));
    if (kept.ok()) {
        showCurrent();
    }
}

void TFormListening::ButtonNothingClick() {
    answer(ListeningSession::kNothing);
}

void TFormListening::ButtonNextClick() {
    answer(heard_->text().toStdString());
}

void TFormListening::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && pages_->currentIndex() == 1) {
        ButtonPlayClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFormListening::closeEvent(QCloseEvent* event) {
    program_.StopPlayback();
    if (closed_) {
        closed_();
    }
    event->accept();
}

}  // namespace murmelix
