// The "OQT Session" panel of the main window: its controls, their enabling and handlers.
#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

#include "gui/form_main.h"

#include "app/command_enabling.h"
#include "gui/form_font_settings.h"
#include "gui/form_text.h"

namespace murmelix {

namespace {

constexpr const char* kSessionRecHint = "Recording session ON/OFF";

QLineEdit* panelEdit(QWidget* parent, const char* name, const char* hint, bool readOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    edit->setReadOnly(readOnly);
    return edit;
}

void paintBase(QWidget* widget, bool windowColour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(
                                         windowColour ? QPalette::Base : QPalette::Button));
    widget->setPalette(palette);
}

QLabel* buddyLabel(QWidget* parent, const char* text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

QPushButton* TFormMain::sessionButton(const char* name, const char* caption, const char* hint,
                                      void (TFormMain::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    return button;
}

QFont TFormMain::cueLabelsStartFont() {
    QFont courier("Courier New", 10);
    courier.setStyleHint(QFont::Monospace);
    return courier;
}

QList<QFont> TFormMain::fontsAtStart() {
    return {QGuiApplication::font(), cueLabelsStartFont(),
            FormFontSettings::toFont(ProgramSettings{}.cueLabelFont)};
}

QWidget* TFormMain::buildSessionGroup() {
    auto* group = new QGroupBox("OQT Session", this);
    group->setObjectName("GroupBoxSession");
    sessionFile_ = panelEdit(group, "EditSessionFile", "Name of Session file", true);
    paintBase(sessionFile_, false);
    dateTime_ = panelEdit(group, "EditDateTime", "Date/Time when OQT was recorded", true);
    sequence_ = panelEdit(group, "EditSequence", "Current OQT number within session", true);
    sequence_->setText("0/0");
    sequence_->setAlignment(Qt::AlignCenter);
    sequence_->setFixedWidth(sequence_->fontMetrics().horizontalAdvance("0000/0000") + 16);
    question_ = panelEdit(group, "EditQuestion", "Enter your question here!", false);
    answer_ = panelEdit(group, "EditAnswer", "Enter your OQT Interpretation here!", false);
    cueLabels_ = new QPlainTextEdit(group);
    cueLabels_->setObjectName("MemoCueLabels");
    cueLabels_->setToolTip("Right-click to change Font...");
    cueLabels_->setReadOnly(true);
    cueLabels_->setLineWrapMode(QPlainTextEdit::NoWrap);
    cueLabels_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cueLabels_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    cueLabels_->setFont(cueLabelsStartFont());
    cueLabels_->setFixedHeight(cueLabels_->fontMetrics().height() * 2 + 12 +
                               cueLabels_->horizontalScrollBar()->sizeHint().height());
    cueLabels_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cueLabels_, &QWidget::customContextMenuRequested, this,
            [this] { MemoCueLabelsMouseDown(); });
    explanation_ = new QPlainTextEdit(group);
    explanation_->setObjectName("MemoExplanation");
    explanation_->setToolTip(
        "The words the OQT played, what a recogniser heard in it (Session > Transcribe OQT) "
        "and how close the answer came");
    explanation_->setReadOnly(true);
    explanation_->setFixedHeight(explanation_->fontMetrics().height() * 5 + 12);
    recordMode_ = new QLabel(group);
    recordMode_->setObjectName("LabelSessionRecordMode");
    recordMode_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette red = recordMode_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    recordMode_->setPalette(red);

    sessionNew_.button =
        sessionButton("ButtonCloseSessionFile", "&New", "Close Session file / New session",
                      &TFormMain::ButtonCloseSessionFileClick);
    sessionOpen_.button = sessionButton("ButtonOpenSessionFile", "&Open", "Open Session file",
                                        &TFormMain::ButtonOpenSessionFileClick);
    sessionSave_.button = sessionButton("ButtonSaveSessionFile", "&Save", "Save Session file",
                                        &TFormMain::ButtonSaveSessionFileClick);
    auto* rec = sessionButton("ButtonSessionRec", "&Rec", kSessionRecHint,
                              &TFormMain::ButtonSessionRecClick);
    sessionPlay_.button = sessionButton("ButtonSessionPlay", "&Play", "Play entire session",
                                        &TFormMain::ButtonSessionPlayClick);
    sessionOqt_.button =
        sessionButton("ButtonSessionPlaySeq", "&OQT", "Play previously recorded OQT",
                      &TFormMain::ButtonSessionPlaySeqClick);
    sessionStop_.button = sessionButton("ButtonSessionStop", "S&top", "Stop playing",
                                        &TFormMain::ButtonSessionStopClick);
    sessionWav_.button = sessionButton("ButtonSessionWav", "E&xp", "Export OQT as WAV file",
                                       &TFormMain::ButtonSessionWavClick);
    sessionEdit_.button =
        sessionButton("ButtonSessionEdit", "E&dit", "Open OQT in your standard WAV file editor",
                      &TFormMain::ButtonSessionEditClick);
    auto* prev = sessionButton("ButtonSessionPrev", "&-", "Skip to previous OQT",
                               &TFormMain::ButtonSessionPrevClick);
    auto* next = sessionButton("ButtonSessionNext", "&+", "Skip to next OQT",
                               &TFormMain::ButtonSessionNextClick);
    QFont larger = prev->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    larger.setBold(true);
    prev->setFont(larger);
    next->setFont(larger);

    auto* grid = new QGridLayout(group);
    grid->addWidget(buddyLabel(group, "Session file", sessionFile_), 0, 0);
    grid->addWidget(recordMode_, 0, 1, 1, 3);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(sessionFile_, 1);
    for (const Command* c : {&sessionNew_, &sessionOpen_, &sessionSave_}) {
        fileRow->addWidget(c->button);
    }
    grid->addLayout(fileRow, 1, 0, 1, 4);
    grid->addWidget(buddyLabel(group, "Date/Time", dateTime_), 2, 0, 1, 3);
    grid->addWidget(buddyLabel(group, "OQT No.", sequence_), 2, 3);
    grid->addWidget(dateTime_, 3, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->addWidget(sequence_, 3, 3);
    grid->addWidget(buddyLabel(group, "&Question", question_), 4, 0, 1, 4);
    grid->addWidget(question_, 5, 0, 1, 4);
    grid->addWidget(buddyLabel(group, "OQT &Answer", answer_), 6, 0, 1, 4);
    grid->addWidget(answer_, 7, 0, 1, 4);
    auto* cueRow = new QHBoxLayout;
    cueRow->addWidget(buddyLabel(group, "&Cue Labels", cueLabels_));
    cueRow->addStretch();
    cueRow->addWidget(new QLabel("(Phonemes)", group));
    grid->addLayout(cueRow, 8, 0, 1, 4);
    grid->addWidget(cueLabels_, 9, 0, 1, 4);
    grid->addWidget(buddyLabel(group, "Played and heard", explanation_), 10, 0, 1, 4);
    grid->addWidget(explanation_, 11, 0, 1, 4);
    auto* transport = new QHBoxLayout;
    for (QAbstractButton* b :
         {static_cast<QAbstractButton*>(rec), sessionPlay_.button, sessionOqt_.button,
          sessionStop_.button, sessionWav_.button, sessionEdit_.button,
          static_cast<QAbstractButton*>(prev), static_cast<QAbstractButton*>(next)}) {
        transport->addWidget(b);
    }
    grid->addLayout(transport, 12, 0, 1, 4);
    sessionRecord_.button = rec;
    sessionPrev_.button = prev;
    sessionNext_.button = next;

    connect(question_, &QLineEdit::textChanged, this, [this] { EditQuestionChange(); });
    connect(answer_, &QLineEdit::textChanged, this, [this] { EditAnswerChange(); });
    return group;
}

void TFormMain::refreshSessionPanel() {
    const SessionPanelText text = program_->workflow().panelText();
    recordMode_->setText(FormText::fromBytes(text.recordMode));
    recordMode_->setAutoFillBackground(!text.recordMode.empty());
    sequence_->setText(FormText::fromBytes(text.sequence));
    sessionFile_->setText(FormText::fromBytes(text.sessionFile));
    dateTime_->setText(FormText::fromBytes(text.dateTime));
    {
        // Showing a stored text is no edit: a Windows-1252 text stays as the file holds it.
        const QSignalBlocker quietQuestion(question_);
        const QSignalBlocker quietAnswer(answer_);
        question_->setText(FormText::fromBytes(text.question));
        answer_->setText(FormText::fromBytes(text.answer));
    }
    if (text.cueLabels) {
        cueLabels_->setPlainText(FormText::fromBytes(*text.cueLabels));
    } else {
        cueLabels_->clear();
    }
    refreshExplanation();
}

void TFormMain::refreshExplanation() {
    QString lines;
    for (const auto& [caption, text] : program_->workflow().explanation()) {
        lines += QString("%1%2: %3")
                     .arg(lines.isEmpty() ? "" : "\n", QString::fromStdString(caption),
                          FormText::fromBytes(text));
    }
    explanation_->setPlainText(lines);
}

void TFormMain::applySessionControls(const SessionControlsEnabling& on) {
    sessionRecord_.action->setChecked(program_->session().recordMode);
    sessionOpen_.setEnabled(on.open);
    sessionNew_.setEnabled(on.newSession);
    sessionSave_.setEnabled(on.save);
    sessionRecord_.setEnabled(on.record);
    // A disabled Rec tells why, where the person looks: its hint and its menu item's.
    const std::string reason =
        CommandEnabling::sessionRecordReason(program_->mode(), program_->document());
    const QString hint = reason.empty() ? QString(kSessionRecHint)
                                        : QString("%1\n%2").arg(kSessionRecHint, reason.c_str());
    sessionRecord_.button->setToolTip(hint);
    sessionRecord_.action->setToolTip(hint);
    sessionRecord_.action->setStatusTip(QString::fromUtf8(reason));
    for (const Command* c :
         {&sessionPlay_, &sessionOqt_, &sessionWav_, &sessionEdit_, &sessionTranscribe_,
          &sessionTranscribeAll_, &sessionTable_, &listeningMake_}) {
        c->setEnabled(on.play);
    }
    sessionStop_.setEnabled(on.stop);
    // Listening to a test and reporting on it need only the sound to be free.
    listeningListen_.setEnabled(on.open);
    listeningReport_.setEnabled(on.open);
    sessionPrev_.setEnabled(on.previous);
    sessionNext_.setEnabled(on.next);
    sessionFile_->setEnabled(on.sessionFile);
    dateTime_->setEnabled(on.dateTimeAndNumber);
    sequence_->setEnabled(on.dateTimeAndNumber);
    for (QLineEdit* edit : {question_, answer_}) {
        edit->setEnabled(on.texts);
        paintBase(edit, on.texts);
    }
    cueLabels_->setEnabled(on.cueLabels);
    explanation_->setEnabled(on.cueLabels);
}

void TFormMain::ButtonCloseSessionFileClick() {
    program_->sessionFiles().closeSession();
}
void TFormMain::ButtonOpenSessionFileClick() {
    program_->sessionFiles().openSession();
}
void TFormMain::ButtonSaveSessionFileClick() {
    program_->sessionFiles().saveSession(false);
}
void TFormMain::ButtonSessionRecClick() {
    program_->workflow().toggleRecordMode();
}
void TFormMain::ButtonSessionPlayClick() {
    program_->PlaySession();
}
void TFormMain::ButtonSessionPlaySeqClick() {
    program_->PlayCurrentSequence();
}
void TFormMain::ButtonSessionStopClick() {
    program_->StopSessionPlay();
}
void TFormMain::ButtonSessionWavClick() {
    program_->ExportSequence();
}
void TFormMain::ButtonSessionEditClick() {
    program_->EditSequence();
}
void TFormMain::ButtonSessionPrevClick() {
    program_->workflow().previous();
}
void TFormMain::ButtonSessionNextClick() {
    program_->workflow().next();
}
void TFormMain::EditQuestionChange() {
    program_->workflow().questionChanged(question_->text().toStdString());
}
void TFormMain::EditAnswerChange() {
    program_->workflow().answerChanged(answer_->text().toStdString());
    refreshExplanation();
}
void TFormMain::MenuSessionTranscribeClick() {
    (void)program_->TranscribeSequences(false);  // failures are shown by the program
}
void TFormMain::MenuSessionTranscribeAllClick() {
    (void)program_->TranscribeSequences(true);
}
void TFormMain::MenuSessionTableClick() {
    program_->ExportSessionTable();
}

void TFormMain::MemoCueLabelsMouseDown() {
    if (const std::optional<QFont> chosen = FormFontSettings::choose(this, cueLabels_->font())) {
        cueLabels_->setFont(*chosen);
    }
}

}  // namespace murmelix
