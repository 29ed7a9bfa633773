// The toolbar and the menu tree of the main window.
#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "gui/form_main.h"

namespace murmelix {

namespace {

enum class Glyph { Open, Save, Record, Play, MakeOqt, Pause, Stop };

QPixmap glyphPixmap(Glyph glyph, const QColor& colour) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    switch (glyph) {
        case Glyph::Open:  // a folder
            painter.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(12, 8), QPointF(15, 11),
                                           QPointF(29, 11), QPointF(29, 26), QPointF(3, 26)}));
            break;
        case Glyph::Save: {  // a disk, its label and its shutter cut out
            QPainterPath disk;
            disk.addRect(QRectF(5, 5, 22, 22));
            QPainterPath holes;
            holes.addRect(QRectF(9, 5, 14, 8));
            holes.addRect(QRectF(9, 17, 14, 10));
            painter.drawPath(disk.subtracted(holes));
            painter.drawRect(QRectF(18, 6, 3, 5));
            break;
        }
        case Glyph::MakeOqt: {  // a circling arrow
            painter.setPen(QPen(colour, 4, Qt::SolidLine, Qt::FlatCap));
            painter.setBrush(Qt::NoBrush);
            painter.drawArc(QRectF(7, 7, 18, 18), 90 * 16, 270 * 16);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawPolygon(QPolygonF({QPointF(14, 1), QPointF(22, 9), QPointF(14, 14)}));
            break;
        }
        case Glyph::Record:
            painter.drawEllipse(QRectF(6, 6, 20, 20));
            break;
        case Glyph::Play:
            painter.drawPolygon(QPolygonF({QPointF(9, 5), QPointF(27, 16), QPointF(9, 27)}));
            break;
        case Glyph::Pause:
            painter.drawRect(QRectF(8, 6, 6, 20));
            painter.drawRect(QRectF(18, 6, 6, 20));
            break;
        case Glyph::Stop:
            painter.drawRect(QRectF(7, 7, 18, 18));
            break;
    }
    return picture;
}

// Drawn in the palette's own text colour (record in red, open in amber, make OQT in blue),
// so the glyphs stay clear on light and dark themes; the disabled look is drawn as well
// rather than left to the style's fading, which is hard to tell apart on a toolbar. Drawn
// rather than taken from the icon theme: looking an icon up in the theme's folders takes
// longer than building the whole window.
QIcon glyphIcon(Glyph glyph, const QPalette& palette) {
    QColor normal = palette.color(QPalette::WindowText);
    if (glyph == Glyph::Record) {
        normal = QColor(210, 30, 30);
    } else if (glyph == Glyph::Open) {
        normal = QColor(215, 150, 40);
    } else if (glyph == Glyph::MakeOqt) {
        normal = QColor(40, 120, 210);
    }
    QColor disabled = palette.color(QPalette::Disabled, QPalette::WindowText);
    disabled.setAlphaF(0.45);
    QIcon icon;
    icon.addPixmap(glyphPixmap(glyph, normal), QIcon::Normal);
    icon.addPixmap(glyphPixmap(glyph, disabled), QIcon::Disabled);
    return icon;
}

}  // namespace

void TFormMain::Command::setEnabled(bool on) const {
    if (button != nullptr) {
        button->setEnabled(on);
    }
    if (action != nullptr) {
        action->setEnabled(on);
    }
}

QAction* TFormMain::addItem(QMenu* menu, const char* name, const char* caption,
                            const QKeySequence& key, void (TFormMain::*handler)()) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setParent(this);
    if (!key.isEmpty()) {
        action->setShortcut(key);
    }
    if (handler != nullptr) {
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    }
    return action;
}

QToolButton* TFormMain::addToolButton(const char* name, const char* hint, const QIcon& icon,
                                      void (TFormMain::*handler)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    connect(button, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
    return button;
}

// A row of tool buttons rather than a QToolBar: the program's bar never moves, floats or
// overflows, and a QToolBar looks up its overflow arrow's icon in the image plugins while the
// window is being built, the largest single wait before it first appears.
QWidget* TFormMain::buildToolBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName("ToolBar");
    open_.button = addToolButton("ButtonOpen", "Open WAV file (F2)",
                                 glyphIcon(Glyph::Open, palette()), &TFormMain::ButtonOpenClick);
    save_.button = addToolButton("ButtonSave", "Save to a WAV file (F3)",
                                 glyphIcon(Glyph::Save, palette()), &TFormMain::ButtonSaveClick);
    record_.button =
        addToolButton("ButtonRecord", "Record (F4)", glyphIcon(Glyph::Record, palette()),
                      &TFormMain::ButtonRecordClick);
    play_.button = addToolButton("ButtonPlay", "Play (F5)", glyphIcon(Glyph::Play, palette()),
                                 &TFormMain::ButtonPlayClick);
    rndPlay_.button =
        addToolButton("ButtonRndPlay", "Make OQT (F6)", glyphIcon(Glyph::MakeOqt, palette()),
                      &TFormMain::ButtonRndPlayClick);
    pause_.button = addToolButton("ButtonPause", "Pause/Continue (F7)",
                                  glyphIcon(Glyph::Pause, palette()), &TFormMain::ButtonPauseClick);
    pause_.button->setCheckable(true);
    stop_.button = addToolButton("ButtonStop", "Stop (F8)", glyphIcon(Glyph::Stop, palette()),
                                 &TFormMain::ButtonStopClick);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    for (QAbstractButton* b : {open_.button, save_.button, record_.button}) {
        row->addWidget(b);
    }
    auto* separator = new QFrame(bar);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    row->addWidget(separator);
    for (QAbstractButton* b : {play_.button, rndPlay_.button, pause_.button, stop_.button}) {
        row->addWidget(b);
    }
    row->addStretch();
    return bar;
}

void TFormMain::buildMenus() {
    menuBar()->setObjectName("Menu");
    buildFileMenu();
    buildEditMenu();
    buildSessionMenu();
    buildExtrasMenu();
    buildHelpMenu();
}

void TFormMain::buildFileMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("MenuFile");
    open_.action =
        addItem(file, "MenuFileOpen", "Open WAV &File...", Qt::Key_F2, &TFormMain::ButtonOpenClick);
    import_.action = addItem(file, "MenuFileImport", "&Import sound file...",
                             QKeySequence("Ctrl+I"), &TFormMain::MenuFileImportClick);
    save_.action =
        addItem(file, "MenuFileSave", "S&ave WAV file...", Qt::Key_F3, &TFormMain::ButtonSaveClick);
    buildLabelFileItems(file);
    file->addSeparator()->setObjectName("N1");
    record_.action = addItem(file, "MenuFileRecord", "Re&cord WAV file...", Qt::Key_F4,
                             &TFormMain::ButtonRecordClick);
    play_.action =
        addItem(file, "MenuFilePlay", "Play &WAV File", Qt::Key_F5, &TFormMain::ButtonPlayClick);
    rndPlay_.action =
        addItem(file, "MenuFileOQT", "&Make an OQT!", Qt::Key_F6, &TFormMain::ButtonRndPlayClick);
    pause_.action =
        addItem(file, "MenuFilePause", "Pa&use", Qt::Key_F7, &TFormMain::ButtonPauseClick);
    pause_.action->setCheckable(true);
    stop_.action = addItem(file, "MenuFileStop", "S&top", Qt::Key_F8, &TFormMain::ButtonStopClick);
    file->addSeparator()->setObjectName("N2");
    addItem(file, "MenuFileExit", "&Exit", {}, &TFormMain::MenuFileExitClick);
    for (const Command* c : {&save_, &play_, &rndPlay_, &pause_, &stop_}) {
        c->setEnabled(false);
    }
}

// "E&dit": the E belongs to "&Extras".
void TFormMain::buildEditMenu() {
    QMenu* edit = menuBar()->addMenu("E&dit");
    edit->setObjectName("MenuEdit");
    undo_ =
        addItem(edit, "MenuEditUndo", "&Undo", QKeySequence::Undo, &TFormMain::MenuEditUndoClick);
    redo_ = addItem(edit, "MenuEditRedo", "&Redo", QKeySequence("Ctrl+Shift+Z"),
                    &TFormMain::MenuEditRedoClick);
    redo_->setShortcuts({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")});
    undo_->setEnabled(false);
    redo_->setEnabled(false);
}

void TFormMain::buildSessionMenu() {
    QMenu* menu = menuBar()->addMenu("&Session");
    menu->setObjectName("MenuSession");
    sessionNew_.action = addItem(menu, "MenuSessionNew", "&New", QKeySequence("Ctrl+N"),
                                 &TFormMain::ButtonCloseSessionFileClick);
    sessionOpen_.action = addItem(menu, "MenuSessionOpen", "&Open...", QKeySequence("Ctrl+O"),
                                  &TFormMain::ButtonOpenSessionFileClick);
    sessionSave_.action = addItem(menu, "MenuSessionSave", "&Save...", QKeySequence("Ctrl+S"),
                                  &TFormMain::ButtonSaveSessionFileClick);
    menu->addSeparator()->setObjectName("N3");
    sessionRecord_.action = addItem(menu, "MenuSessionRecord", "&Record", QKeySequence("Ctrl+R"),
                                    &TFormMain::ButtonSessionRecClick);
    sessionRecord_.action->setCheckable(true);
    sessionPlay_.action = addItem(menu, "MenuSessionPlay", "&Play", QKeySequence("Ctrl+P"),
                                  &TFormMain::ButtonSessionPlayClick);
    sessionOqt_.action = addItem(menu, "MenuSessionOQT", "Play &OQT", QKeySequence("Ctrl+E"),
                                 &TFormMain::ButtonSessionPlaySeqClick);
    sessionStop_.action = addItem(menu, "MenuSessionStop", "S&top", QKeySequence("Ctrl+T"),
                                  &TFormMain::ButtonSessionStopClick);
    menu->addSeparator()->setObjectName("N4");
    sessionWav_.action = addItem(menu, "MenuSessionWAV", "E&xport OQT as WAV File...",
                                 QKeySequence("Ctrl+X"), &TFormMain::ButtonSessionWavClick);
    sessionEdit_.action = addItem(menu, "MenuSessionEdit", "Load OQT into WAV E&ditor",
                                  QKeySequence("Ctrl+D"), &TFormMain::ButtonSessionEditClick);
    sessionTranscribe_.action = addItem(menu, "MenuSessionTranscribe", "Transcri&be OQT", {},
                                        &TFormMain::MenuSessionTranscribeClick);
    sessionTranscribeAll_.action = addItem(menu, "MenuSessionTranscribeAll", "Transcribe a&ll OQTs",
                                           {}, &TFormMain::MenuSessionTranscribeAllClick);
    sessionTable_.action = addItem(menu, "MenuSessionTable", "Export t&able...", {},
                                   &TFormMain::MenuSessionTableClick);
    QMenu* listening = menu->addMenu("Listenin&g test");
    listening->setObjectName("MenuListening");
    listeningMake_.action =
        addItem(listening, "MenuListeningMake", "&Make...", {}, &TFormMain::MenuListeningMakeClick);
    listeningListen_.action = addItem(listening, "MenuListeningListen", "&Listen...", {},
                                      &TFormMain::MenuListeningListenClick);
    listeningReport_.action = addItem(listening, "MenuListeningReport", "&Report...", {},
                                      &TFormMain::MenuListeningReportClick);
    menu->addSeparator()->setObjectName("N5");
    sessionPrev_.action = addItem(menu, "MenuSessionPrev", "&- Skip to previous OQT", {},
                                  &TFormMain::ButtonSessionPrevClick);
    sessionNext_.action = addItem(menu, "MenuSessionNext", "&+ Skip to next OQT", {},
                                  &TFormMain::ButtonSessionNextClick);
}

void TFormMain::buildExtrasMenu() {
    QMenu* extras = menuBar()->addMenu("&Extras");
    extras->setObjectName("Extras1");
    reverse_ = addItem(extras, "MenuExtrasReverse", "Re&verse signal", {},
                       &TFormMain::MenuExtrasReverseClick);
    echo_ = addItem(extras, "MenuExtrasEcho", "Add &echo to signal...", {},
                    &TFormMain::MenuExtrasEchoClick);
    normalize_ = addItem(extras, "MenuExtrasNormalize", "&Normalize signal", {},
                         &TFormMain::MenuExtrasNormalizeClick);
    speedWindowItem_ = addItem(extras, "MenuExtrasSpeedControlWindow", "Spee&d control", {},
                               &TFormMain::MenuExtrasSpeedControlWindowClick);
    speedWindowItem_->setCheckable(true);
    extras->addSeparator()->setObjectName("N11");
    feedbackWindowItem_ =
        addItem(extras, "MenuExtrasVisualFeedbackWindow", "Visual &feedback window", {},
                &TFormMain::MenuExtrasVisualFeedbackWindowClick);
    feedbackWindowItem_->setCheckable(true);
    waveformWindowItem_ = addItem(extras, "MenuExtrasWaveformWindow", "W&aveform", Qt::Key_F9,
                                  &TFormMain::MenuExtrasWaveformWindowClick);
    waveformWindowItem_->setCheckable(true);
    findRegions_ = addItem(extras, "MenuExtrasFindRegions", "F&ind cue regions...", {},
                           &TFormMain::MenuExtrasFindRegionsClick);
    findRegions_->setEnabled(false);
    extras->addSeparator()->setObjectName("N10");
    buildRandomSourceMenu(extras);

    extras->addSeparator()->setObjectName("MenuExtras");
    protRn_ = addItem(extras, "MenuExtrasProtRN", "&Log random numbers...", {},
                      &TFormMain::MenuExtrasProtRNClick);
    protRn_->setCheckable(true);
    writeRn_ = addItem(extras, "MenuExtrasWriteRN", "&Write RN to a file...", {},
                       &TFormMain::MenuExtrasWriteRNClick);
    extras->addSeparator()->setObjectName("N8");
    addItem(extras, "MenuExtrasSettings", "&Settings...", {}, &TFormMain::MenuExtrasSettingsClick);
}

void TFormMain::buildRandomSourceMenu(QMenu* extras) {
    QMenu* menu = extras->addMenu("&Random source");
    menu->setObjectName("MenuPrefRndSrc");
    auto* kinds = new QActionGroup(this);
    struct Kind {
        RandomSourceKind kind;
        const char* name;
        const char* caption;
        void (TFormMain::*handler)();
    };
    const Kind items[] = {
        {RandomSourceKind::Pseudo, "MenuPrefRndSrcProgram", "&Pseudo RNG",
         &TFormMain::MenuPrefRndSrcProgramClick},
        {RandomSourceKind::Fractal, "MenuPrefRndSrcFractal", "&Fractal formula...",
         &TFormMain::MenuPrefRndSrcFractalClick},
        {RandomSourceKind::SoundCard, "MenuPrefRndSrcSoundcard", "&Sound card",
         &TFormMain::MenuPrefRndSrcSoundcardClick},
        {RandomSourceKind::File, "MenuPrefRndSrcFile", "F&ile...",
         &TFormMain::MenuPrefRndSrcFileClick},
    };
    for (const Kind& item : items) {
        QAction* action = addItem(menu, item.name, item.caption, {}, item.handler);
        action->setCheckable(true);
        kinds->addAction(action);
        sourceKindItems_[static_cast<int>(item.kind)] = action;
    }
    sourceKindItems_[0]->setChecked(true);
    menu->addSeparator()->setObjectName("N9");
    const auto option = [&](const char* name, const char* caption, bool checked,
                            void (TFormMain::*handler)()) {
        QAction* action = addItem(menu, name, caption, {}, handler);
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    useAbs_ = option("MenuPrefRndSrcUseAbs", "Use &absolute values", false,
                     &TFormMain::MenuPrefRndSrcUseAbsClick);
    recBest_ = option("MenuPrefRndSrcRecBest", "&Best sample rate", true,
                      &TFormMain::MenuPrefRndSrcRecBestClick);
    recNew_ =
        option("MenuPrefRndSrcRecNew", "&Record new", true, &TFormMain::MenuPrefRndSrcRecNewClick);
    fileLoop_ = option("MenuPrefRndSrcFileLoop", "&Loop file", true,
                       &TFormMain::MenuPrefRndSrcFileLoopClick);
}

void TFormMain::buildHelpMenu() {
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("MenuHelp");
    addItem(help, "MenuHelpManual", "&Manual", Qt::Key_F1, &TFormMain::MenuHelpManualClick);
    addItem(help, "QuickstartGuide1", "&Quickstart Guide", {}, &TFormMain::QuickstartGuide1Click);
    addItem(help, "MenuHelpDownload", "Go to &Web Site / Download", {},
            &TFormMain::MenuHelpDownloadClick);
    help->addSeparator()->setObjectName("N6");
    addItem(help, "MenuHelpAbout", "&About Murmelix...", {}, &TFormMain::MenuHelpAboutClick);
}

}  // namespace murmelix
