#include "gui/form_waveform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/program.h"
#include "base/user_interface.h"
#include "labels/waveform_status.h"

namespace murmelix {

namespace {

constexpr double kZoomStep = 1.5;
constexpr int kClickSlack = 3;  // pixels a click may move and stay a click
constexpr int kCursorTickMs = 30;

QColor toQColor(Rgba c) {
    return QColor(c.r, c.g, c.b, c.a);
}

bool darkPalette(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

}  // namespace

TFormWaveform::TFormWaveform(Program& program, QWidget* owner)
    : QWidget(owner, Qt::Tool), program_(program), editing_(program) {
    setObjectName("FormWaveform");
    setWindowTitle("Waveform");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(240, 120);
    buildBottomBar();
    buildActions();
    cursorTimer_ = new QTimer(this);
    cursorTimer_->setInterval(kCursorTickMs);
    connect(cursorTimer_, &QTimer::timeout, this, [this] { tickCursor(); });
    palette_ = darkPalette(palette()) ? WaveformPalette::dark() : WaveformPalette::light();
    resize(kDefaultClientWidth, kDefaultClientHeight);
    refreshActions();
}

// The keys are Audacity's where it has one (Ctrl+B, Ctrl+E, Ctrl+F, Ctrl+1, Ctrl+3, Space);
// no two items share a letter.
void TFormWaveform::buildActions() {
    using K = QKeySequence;
    using T = TFormWaveform;
    add_ = addAction("ActionAddRegion", "&Add region", {Qt::Key_Insert}, &T::AddRegionClick);
    addLabelled_ = addAction("ActionAddLabelledRegion", "Add and &label", {K("Ctrl+B")},
                             &T::AddLabelledRegionClick);
    play_ = addAction("ActionPlayRegion", "&Play / Stop", {Qt::Key_Space}, &T::PlayStopClick);
    rename_ = addAction("ActionRenameRegion", "Rena&me...",
                        {Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter}, &T::RenameRegionClick);
    note_ = addAction("ActionEditNote", "Edit &note...", {}, &T::EditNoteClick);
    delete_ =
        addAction("ActionDeleteRegion", "&Delete region", {Qt::Key_Delete}, &T::DeleteRegionClick);
    undo_ = addAction("ActionUndo", "&Undo", {K("Ctrl+Z")}, &T::UndoClick);
    redo_ = addAction("ActionRedo", "&Redo", {K("Ctrl+Shift+Z"), K("Ctrl+Y")}, &T::RedoClick);
    zoomSelection_ = addAction("ActionZoomToSelection", "Zoom to &selection", {K("Ctrl+E")},
                               &T::ZoomToSelectionClick);
    zoomFit_ = addAction("ActionZoomFit", "&Fit to window", {K("Ctrl+F")}, &T::ZoomFitClick);
    zoomIn_ = addAction("ActionZoomIn", "Zoom &in", {K("Ctrl+1"), Qt::Key_Plus, Qt::Key_Equal},
                        &T::ZoomInClick);
    zoomOut_ =
        addAction("ActionZoomOut", "Zoom &out", {K("Ctrl+3"), Qt::Key_Minus}, &T::ZoomOutClick);
    snapItem_ = new QAction("Snap to &zero crossings", this);
    snapItem_->setObjectName("ActionSnapToZeroCrossings");
    snapItem_->setCheckable(true);
    connect(snapItem_, &QAction::toggled, snap_, &QCheckBox::setChecked);
    connect(snap_, &QCheckBox::toggled, snapItem_, &QAction::setChecked);
    QWidget::addAction(snapItem_);
}

QAction* TFormWaveform::addAction(const char* name, const char* caption,
                                  const QList<QKeySequence>& keys,
                                  void (TFormWaveform::*handler)()) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(name);
    if (!keys.isEmpty()) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    QWidget::addAction(action);
    return action;
}

// Under the picture: the scroll bar, then the status line and the snap toggle. None of them
// takes the keyboard focus, which stays with the picture and its keys.
void TFormWaveform::buildBottomBar() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    bottomBar_ = new QWidget(this);
    auto* rows = new QVBoxLayout(bottomBar_);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    reviewBar_ = buildReviewBar(bottomBar_);
    rows->addWidget(reviewBar_);
    scrollBar_ = new QScrollBar(Qt::Horizontal, bottomBar_);
    scrollBar_->setObjectName("ScrollBarWaveform");
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != viewport_.scrollPosition()) {
            viewport_.scrollTo(value);
            update();
        }
    });
    rows->addWidget(scrollBar_);
    auto* statusRow = new QHBoxLayout;
    status_ = new QLabel(bottomBar_);
    status_->setObjectName("LabelWaveformStatus");
    // A long label must not widen the window.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status_->setTextFormat(Qt::PlainText);
    statusRow->addWidget(status_, 1);
    snap_ = new QCheckBox("Snap to &zero crossings", bottomBar_);
    snap_->setObjectName("CheckBoxSnapToZeroCrossings");
    snap_->setFocusPolicy(Qt::NoFocus);
    statusRow->addWidget(snap_);
    rows->addLayout(statusRow);
    layout->addWidget(bottomBar_);
}

// Above the scroll bar while found regions are under review. Its buttons take no focus, so
// that the picture keeps its keys. Their letters are used nowhere else in the window, its
// menu or the main window's menu bar, whose letters reach this window too (Alt+E opens
// Extras here as well): "Replace" and "Add" have none free, hence the longer captions.
QWidget* TFormWaveform::buildReviewBar(QWidget* parent) {
    auto* bar = new QFrame(parent);
    bar->setObjectName("PanelFoundRegions");
    bar->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 3, 6, 3);
    reviewIcon_ = new QLabel(bar);
    reviewIcon_->setObjectName("ImageFoundRegionsWarning");
    row->addWidget(reviewIcon_, 0, Qt::AlignTop);
    reviewText_ = new QLabel(bar);
    reviewText_->setObjectName("LabelFoundRegions");
    reviewText_->setTextFormat(Qt::PlainText);
    reviewText_->setWordWrap(true);
    // Long advice wraps instead of widening the window.
    reviewText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(reviewText_, 1);
    using T = TFormWaveform;
    const auto button = [this, bar, row](const char* name, const char* caption,
                                         void (T::*handler)()) {
        auto* b = new QPushButton(QString::fromUtf8(caption), bar);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        row->addWidget(b, 0, Qt::AlignTop);
        return b;
    };
    replaceFound_ = button("ButtonReplaceFound", "Replace ta&ble", &T::ReplaceFoundClick);
    addFound_ = button("ButtonAddFound", "Add &to table", &T::AddFoundClick);
    button("ButtonDiscardFound", "Dis&card", &T::DiscardFoundClick);
    bar->hide();
    return bar;
}

// The warning sign is looked up in the icon theme when the bar first needs it: the lookup goes
// through the theme's folders, which would hold up the program's start by a third of the time
// it takes to build its main window.
void TFormWaveform::showReviewIcon(bool visible) {
    if (visible && reviewIcon_->pixmap().isNull()) {
        const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
        reviewIcon_->setPixmap(
            style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
    }
    reviewIcon_->setVisible(visible);
}

void TFormWaveform::refreshReviewBar() {
    const bool open = review_.isOpen();
    if (open) {
        const std::string& advice = review_.advice();
        std::string text = review_.heading() + ".";
        text += advice.empty() ? " Replace puts them in place of the cue table, Add adds them."
                               : " " + advice;
        reviewText_->setText(QString::fromStdString(text));
        showReviewIcon(!advice.empty());
        const bool adopt = review_.canAdopt(editing_.editable());
        replaceFound_->setEnabled(adopt);
        addFound_->setEnabled(adopt);
    }
    reviewBar_->setVisible(open);
    // The picture gives the bar its room now, not at the next layout pass, so that what is
    // drawn and where clicks land agree at once (the bar's height follows its text).
    layout()->activate();
    followViewport();
}

bool TFormWaveform::snapToZeroCrossings() const {
    return snap_->isChecked();
}

void TFormWaveform::setSnapToZeroCrossings(bool on) {
    snap_->setChecked(on);
}

void TFormWaveform::showAndFocus() {
    show();
    raise();
    activateWindow();
    setFocus(Qt::ShortcutFocusReason);
}

QString TFormWaveform::statusText() const {
    return status_->text();
}

QRect TFormWaveform::waveArea() const {
    return QRect(0, 0, width(), std::max(bottomBar_->geometry().top(), 1));
}

void TFormWaveform::documentReplaced() {
    const AudioDocument& doc = program_.document();
    selection_.reset(doc.loaded ? doc.frameCount : 0);
    pointed_.reset();
    highlight_.reset();
    finishTextEditor(false);
    if (isVisible()) {
        rebuildPeaks();
    }
    refresh();
}

void TFormWaveform::rebuildPeaks() {
    if (peaksRevision_ == program_.documentRevision()) {
        return;
    }
    peaksRevision_ = program_.documentRevision();
    const AudioDocument& doc = program_.document();
    if (doc.loaded) {
        peaks_.build(doc);
    } else {
        peaks_.clear();
    }
    viewport_.resize(doc.loaded ? doc.frameCount : 0, waveArea().width(), true);
    syncScrollBar();
}

void TFormWaveform::followViewport() {
    const AudioDocument& doc = program_.document();
    viewport_.resize(doc.loaded ? doc.frameCount : 0, waveArea().width(), false);
    syncScrollBar();
}

void TFormWaveform::syncScrollBar() {
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setRange(0, static_cast<int>(viewport_.scrollRange()));
    scrollBar_->setPageStep(viewport_.width());
    scrollBar_->setSingleStep(std::max(viewport_.width() / 20, 1));
    scrollBar_->setValue(static_cast<int>(viewport_.scrollPosition()));
}

void TFormWaveform::refresh() {
    editing_.follow();
    if (review_.follow(program_.documentRevision())) {
        endReview();
        return;
    }
    const AudioDocument& doc = program_.document();
    selection_.follow(shownCues(), doc.loaded ? doc.frameCount : 0);
    if (pointed_ && *pointed_ >= shownCues().size()) {
        pointed_.reset();
    }
    if (program_.mode() == TransportMode::tmPlay) {
        if (!cursorTimer_->isActive()) {
            playClock_.start();
            pausedMs_ = 0;
            pauseStartedMs_ = -1;
            cursorTimer_->start();
        }
    } else {
        cursorTimer_->stop();
    }
    if (program_.mode() == TransportMode::tmIdle) {
        highlight_.reset();
    }
    refreshReviewBar();
    refreshActions();
    update();
}

void TFormWaveform::refreshActions() {
    const bool editable = editsAllowed();
    const bool region = selection_.region().has_value();
    const bool loaded = program_.document().loaded;
    add_->setEnabled(editable && selection_.span().has_value());
    addLabelled_->setEnabled(editable);
    delete_->setEnabled(editable && region);
    rename_->setEnabled(editable && region);
    note_->setEnabled(editable && region);
    play_->setEnabled(loaded);
    zoomSelection_->setEnabled(loaded && selection_.span().has_value());
    for (QAction* zoom : {zoomFit_, zoomIn_, zoomOut_}) {
        zoom->setEnabled(loaded);
    }
    const CueEditor& editor = editing_.editor();
    undo_->setEnabled(editable && editor.canUndo());
    redo_->setEnabled(editable && editor.canRedo());
    undo_->setText(QString("&Undo %1").arg(QString::fromStdString(editor.undoName())).trimmed());
    redo_->setText(QString("&Redo %1").arg(QString::fromStdString(editor.redoName())).trimmed());
    const double rate = program_.document().fileSampleRate;
    std::string status;
    if (drag_ == Drag::Edge) {
        status = "Border " + WaveformStatus::timeText(dragFrame_, rate);
    } else if (loaded) {
        status = WaveformStatus::line(selection_, shownCues(), pointed_, rate, review_.isOpen());
    }
    status_->setText(QString::fromStdString(status));
}

void TFormWaveform::showSegmentSpan(int64_t firstFrame, int64_t frames) {
    if (frames > 0) {
        highlight_ = std::make_pair(firstFrame, firstFrame + frames);
    } else {
        highlight_.reset();
    }
    if (isVisible()) {
        update();
    }
}

void TFormWaveform::showPaused(bool paused) {
    if (!playClock_.isValid()) {
        return;
    }
    if (paused && pauseStartedMs_ < 0) {
        pauseStartedMs_ = playClock_.elapsed();
    } else if (!paused && pauseStartedMs_ >= 0) {
        pausedMs_ += playClock_.elapsed() - pauseStartedMs_;
        pauseStartedMs_ = -1;
    }
}

std::optional<int64_t> TFormWaveform::cursorFrame() const {
    if (program_.mode() != TransportMode::tmPlay || !playClock_.isValid()) {
        return std::nullopt;
    }
    const Transport& transport = program_.transport();
    const int64_t now = pauseStartedMs_ >= 0 ? pauseStartedMs_ : playClock_.elapsed();
    const double seconds = static_cast<double>(now - pausedMs_) / 1000.0;
    const double rate = program_.document().fileSampleRate * transport.speedPercent() / 100.0;
    const auto played = static_cast<int64_t>(seconds * rate);
    return transport.filePlayFirst() + std::min(played, transport.filePlayFrames());
}

void TFormWaveform::tickCursor() {
    if (isVisible()) {
        update();
    }
}

WaveformView TFormWaveform::viewFor(int width, int height) const {
    WaveformView view;
    view.height = height;
    const QFontMetrics metrics = fontMetrics();
    view.textHeight = metrics.height();
    view.charWidth = std::max(metrics.averageCharWidth(), 1);
    view.highlight = highlight_;
    view.cursorFrame = cursorFrame();
    if (review_.isOpen()) {
        view.found = &review_.found();
        view.poorFound = &review_.poor();
    }
    view = viewport_.apply(view);
    view.width = width;
    return view;
}

void TFormWaveform::reviewFound(const CueSearch& search, std::vector<CuePoint> found) {
    finishTextEditor(true);
    review_.open(search, std::move(found), program_.documentRevision());
    endReview();
}

// A selected region is a place among the regions shown: it goes when they change.
void TFormWaveform::endReview() {
    selection_.placeCursor(selection_.cursor());
    pointed_.reset();
    setToolTip({});
    refresh();
}

const std::vector<CuePoint>& TFormWaveform::shownCues() const {
    return review_.isOpen() ? review_.found() : editing_.editor().cues();
}

bool TFormWaveform::editsAllowed() const {
    return editing_.editable() && !review_.isOpen();
}

void TFormWaveform::ReplaceFoundClick() {
    adoptFound(true);
}

void TFormWaveform::AddFoundClick() {
    adoptFound(false);
}

// The review ends only when the regions are in the table: a refusal keeps them on show.
void TFormWaveform::adoptFound(bool replace) {
    if (!review_.canAdopt(editing_.editable())) {
        return;
    }
    const Result adopted = editing_.adoptFound(review_.found(), replace);
    if (adopted.ok()) {
        review_.discard();
        endReview();
        if (onTableChanged) {
            onTableChanged();
        }
    }
    showFailure(adopted);
}

void TFormWaveform::DiscardFoundClick() {
    review_.discard();
    endReview();
}

WaveformLayout TFormWaveform::currentLayout() const {
    const QRect area = waveArea();
    return WaveformLayout::compute(program_.document(), peaks_,
                                   viewFor(area.width(), area.height()));
}

int64_t TFormWaveform::frameAtX(int x) const {
    const double frame = viewport_.firstFrame() + x * viewport_.framesPerPixel();
    return std::clamp<int64_t>(std::llround(frame), 0, viewport_.frameCount());
}

void TFormWaveform::paintLayout(QPainter& painter, const WaveformLayout& layout,
                                const WaveformPalette& p, int height) {
    const QRect area(0, 0, layout.ruler.width, height);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.fillRect(area, toQColor(p.background));
    const LayoutRect& ruler = layout.ruler;
    painter.fillRect(ruler.x, ruler.y, ruler.width, ruler.height, toQColor(p.rulerBackground));
    for (const WaveformLayout::Tick& tick : layout.ticks) {
        const int length = tick.major ? ruler.height / 2 : ruler.height / 4;
        painter.fillRect(tick.x, ruler.y + ruler.height - length, 1, length, toQColor(p.tick));
        if (tick.major) {
            painter.setPen(toQColor(p.rulerText));
            painter.drawText(QRect(tick.x + 2, ruler.y + 1, 200, ruler.height),
                             Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(tick.text));
        }
    }
    for (const WaveformLayout::Lane& lane : layout.lanes) {
        painter.fillRect(lane.rect.x, lane.centreY, lane.rect.width, 1, toQColor(p.centreLine));
    }
    if (layout.foundLane) {
        const LayoutRect& lane = *layout.foundLane;
        painter.fillRect(lane.x, lane.y, lane.width, lane.height, toQColor(p.foundLane));
    }
    for (const WaveformLayout::Region& region : layout.regions) {
        const LayoutRect& r = region.rect;
        if (!region.point && !region.thin) {
            painter.fillRect(r.x, r.y, r.width, r.height, toQColor(p.fillOf(region)));
        }
        if (region.poor && !region.thin) {
            painter.fillRect(r.x, r.y, r.width, r.height,
                             QBrush(toQColor(p.poorMark), Qt::BDiagPattern));
        }
    }
    const QColor wave = toQColor(p.wave);
    for (const WaveformLayout::Lane& lane : layout.lanes) {
        for (const WaveformLayout::Column& column : lane.columns) {
            painter.fillRect(column.x, column.top, 1, column.bottom - column.top + 1, wave);
        }
    }
    if (layout.highlight) {
        const LayoutRect& h = *layout.highlight;
        painter.fillRect(h.x, h.y, h.width, h.height, toQColor(p.highlight));
    }
    for (const WaveformLayout::Region& region : layout.regions) {
        const LayoutRect& r = region.rect;
        const QColor border = toQColor(p.borderOf(region));
        if (region.thin) {
            painter.fillRect(r.x, r.y, r.width, WaveformLayout::kThinBarHeight, border);
            continue;
        }
        if (region.bordered && region.startVisible) {
            painter.fillRect(r.x, r.y, 1, r.height, border);
        }
        if (region.bordered && region.endVisible) {
            painter.fillRect(r.x + r.width - 1, r.y, 1, r.height, border);
        }
        painter.save();
        painter.setClipRect(QRect(region.labelX, region.labelY,
                                  std::max(region.labelClipRight - region.labelX, 0),
                                  metrics.height()));
        painter.setPen(toQColor(p.textOf(region)));
        painter.drawText(QPoint(region.labelX, region.labelY + metrics.ascent()),
                         QString::fromStdString(region.label));
        painter.restore();
    }
    if (layout.cursorX) {
        // Logical pixels: on a screen with a higher pixel ratio the cursor widens with it.
        const int top = ruler.y + ruler.height;
        const int w = WaveformLayout::kCursorWidth;
        painter.fillRect(*layout.cursorX - 1, top, w + 2, area.height() - top,
                         toQColor(p.cursorOutline));
        painter.fillRect(*layout.cursorX, top, w, area.height() - top, toQColor(p.cursor));
    }
}

void TFormWaveform::paintEvent(QPaintEvent*) {
    rebuildPeaks();
    QPainter painter(this);
    const AudioDocument& doc = program_.document();
    const QRect area = waveArea();
    if (!doc.loaded) {
        painter.fillRect(area, toQColor(palette_.background));
        painter.setPen(toQColor(palette_.rulerText));
        painter.drawText(area, Qt::AlignCenter, "No WAV file is open.");
        return;
    }
    const WaveformLayout layout = currentLayout();
    paintLayout(painter, layout, palette_, area.height());
    const int lanesTop = layout.ruler.height;
    // The replayed sequence's entries, as marks under the ruler.
    if (program_.mode() == TransportMode::tmSessionPlay) {
        if (const SEQUENCE* sequence = program_.session().current()) {
            painter.setPen(toQColor(palette_.cursor));
            for (const SEGMENT& entry : sequence->entries) {
                const int x = layout.xOf(entry.start);
                if (x >= 0 && x < area.width()) {
                    painter.drawLine(x, lanesTop, x, lanesTop + 6);
                }
            }
        }
    }
    const QColor selectionColour = [this] {
        QColor c = palette().color(QPalette::Highlight);
        c.setAlpha(90);
        return c;
    }();
    if (const auto span = selection_.span()) {
        const int left = std::max(layout.xOf(span->first), 0);
        const int right = std::min(layout.xOf(span->second), area.width());
        painter.fillRect(left, lanesTop, std::max(right - left, 1), area.height() - lanesTop,
                         selectionColour);
    } else {
        // The cursor where a click put it, from where Space plays.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        const int x = layout.xOf(selection_.cursor());
        painter.drawLine(x, lanesTop, x, area.height());
    }
    if (drag_ == Drag::Edge) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        const int x = layout.xOf(dragFrame_);
        painter.drawLine(x, lanesTop, x, area.height());
    }
    if (const auto selected = selection_.region()) {
        for (const WaveformLayout::Region& region : layout.regions) {
            if (region.cueIndex == *selected && WaveformViewport::reachable(layout, region)) {
                painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
                painter.setBrush(Qt::NoBrush);
                const LayoutRect& r = region.rect;
                painter.drawRect(QRect(r.x + 1, r.y + 1, std::max(r.width - 2, 1), r.height - 2));
            }
        }
    }
}

void TFormWaveform::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    followViewport();
}

void TFormWaveform::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    rebuildPeaks();
    followViewport();
    refresh();
    // Shown from the main window (F9), the window takes the keyboard so that its keys work
    // at once; shown at start-up beside it, it leaves the focus where it is.
    if (parentWidget() != nullptr && parentWidget()->isActiveWindow()) {
        activateWindow();
        setFocus(Qt::ActiveWindowFocusReason);
    }
}

// A review belongs to the window showing it: closed, the regions go and the table stays.
void TFormWaveform::closeEvent(QCloseEvent* event) {
    finishTextEditor(false);
    if (review_.isOpen()) {
        review_.discard();
        endReview();
    }
    QWidget::closeEvent(event);
    if (onClosed) {
        onClosed();
    }
}

void TFormWaveform::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        palette_ = darkPalette(palette()) ? WaveformPalette::dark() : WaveformPalette::light();
        update();
    }
}

// The action of this window that a key press is the shortcut of, if it is enabled.
QAction* TFormWaveform::actionFor(const QKeyEvent& key) const {
    const QKeySequence pressed(
        QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, static_cast<Qt::Key>(key.key())));
    for (QAction* action : actions()) {
        if (action->isEnabled() && action->shortcuts().contains(pressed)) {
            return action;
        }
    }
    return nullptr;
}

bool TFormWaveform::event(QEvent* event) {
    // This window's keys come first while it has the focus, also where the main window has
    // the same key for something else (F2 opens a file there, Ctrl+E plays an OQT).
    if (event->type() == QEvent::ShortcutOverride &&
        actionFor(*static_cast<QKeyEvent*>(event)) != nullptr) {
        event->accept();
        return true;
    }
    // Tab and Shift+Tab go from region to region, as in Audacity's label track, instead of
    // moving the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            selectNextRegion(key->key() == Qt::Key_Tab &&
                             (key->modifiers() & Qt::ShiftModifier) == 0);
            return true;
        }
    }
    return QWidget::event(event);
}

void TFormWaveform::mousePressEvent(QMouseEvent* event) {
    setFocus();
    const int x = event->position().toPoint().x();
    const int y = event->position().toPoint().y();
    if (!program_.document().loaded || !waveArea().contains(event->position().toPoint())) {
        return;
    }
    finishTextEditor(true);
    pressX_ = x;
    dragMoved_ = false;
    const WaveformLayout layout = currentLayout();
    if (event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && y < layout.ruler.height)) {
        drag_ = Drag::Scroll;
        scrollFromPixel_ = viewport_.scrollPosition();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const WaveformBorders borders(editing_.editor().cues(), viewport_.frameCount());
    dragBorder_ = editsAllowed() && !(event->modifiers() & Qt::ShiftModifier)
                      ? borders.grab(layout, x, kEdgeGrab, kEdgeApart)
                      : std::nullopt;
    if (dragBorder_) {
        drag_ = Drag::Edge;
        dragFrame_ = dragBorder_->frame;
        return;
    }
    drag_ = Drag::Select;
    pressFrame_ = frameAtX(x);
    // Shift extends the selection to the click, as in Audacity.
    if (event->modifiers() & Qt::ShiftModifier) {
        dragMoved_ = true;
        selection_.extendTo(pressFrame_);
        afterSelectionChange();
    }
}

void TFormWaveform::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    switch (drag_) {
        case Drag::Scroll:
            viewport_.scrollTo(scrollFromPixel_ + (pressX_ - x));
            syncScrollBar();
            break;
        case Drag::Edge: {
            const WaveformBorders borders(editing_.editor().cues(), viewport_.frameCount());
            WaveformBorders::SnapRules rules;
            rules.zeroCrossings = snapToZeroCrossings();
            dragFrame_ = borders.snapped(program_.document(), currentLayout(), frameAtX(x),
                                         *dragBorder_, rules);
            refreshActions();
            break;
        }
        case Drag::Select:
            if (!dragMoved_ && std::abs(x - pressX_) > kClickSlack) {
                dragMoved_ = true;
                selection_.placeCursor(pressFrame_);
            }
            if (dragMoved_) {
                selection_.extendTo(frameAtX(x));
                afterSelectionChange();
            }
            break;
        case Drag::None: {
            if (!program_.document().loaded) {
                return;
            }
            const WaveformLayout layout = currentLayout();
            const bool onEdge =
                editsAllowed() && WaveformBorders(editing_.editor().cues(), viewport_.frameCount())
                                      .grab(layout, x, kEdgeGrab, kEdgeApart)
                                      .has_value();
            setCursor(onEdge ? Qt::SizeHorCursor : Qt::ArrowCursor);
            showPointed(WaveformViewport::regionAt(layout, x));
            return;
        }
    }
    update();
}

// The region under the pointer goes into the status line, and its whole label and note
// into the tool tip, since the picture cuts long labels.
void TFormWaveform::showPointed(std::optional<size_t> pointed) {
    if (pointed == pointed_) {
        return;
    }
    pointed_ = pointed;
    QString tip;
    if (pointed_) {
        const CuePoint& cue = shownCues()[*pointed_];
        tip = QString::fromStdString(cue.label);
        if (!cue.note.empty()) {
            tip += "\n" + QString::fromStdString(cue.note);
        }
    }
    setToolTip(tip);
    refreshActions();
}

void TFormWaveform::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    pointed_.reset();
    setToolTip({});
    refreshActions();
}

void TFormWaveform::mouseReleaseEvent(QMouseEvent* event) {
    const Drag drag = std::exchange(drag_, Drag::None);
    const int x = event->position().toPoint().x();
    if (drag == Drag::Edge && dragBorder_) {
        if (std::abs(x - pressX_) > kClickSlack) {
            showFailure(editing_.moveEdges(dragBorder_->edges, dragFrame_));
        } else if (const auto region = WaveformViewport::regionAt(currentLayout(), x)) {
            // A click on a border selects, as anywhere else.
            selection_.selectRegion(*region, shownCues());
        }
    } else if (drag == Drag::Select && !dragMoved_) {
        // A click selects the region under it quietly, or places the cursor.
        if (const auto region = WaveformViewport::regionAt(currentLayout(), x)) {
            selection_.selectRegion(*region, shownCues());
        } else {
            selection_.placeCursor(pressFrame_);
        }
    }
    dragBorder_.reset();
    afterSelectionChange();
}

// A double-click on a label renames it, anywhere else in a region plays the region.
void TFormWaveform::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!program_.document().loaded || event->button() != Qt::LeftButton) {
        return;
    }
    const WaveformLayout layout = currentLayout();
    const QFontMetrics metrics = fontMetrics();
    if (const auto label = WaveformViewport::labelAt(layout, at.x(), at.y(), metrics.height(),
                                                     metrics.averageCharWidth());
        label && editsAllowed()) {
        selection_.selectRegion(*label, shownCues());
        openTextEditor(*label, TextField::Label);
    } else if (const auto region = WaveformViewport::regionAt(layout, at.x())) {
        selection_.selectRegion(*region, shownCues());
        playSpan(selection_.playSpan(shownCues()));
    }
    afterSelectionChange();
}

void TFormWaveform::zoom(int x, double factor) {
    viewport_.zoomAround(x, factor);
    syncScrollBar();
    update();
}

int TFormWaveform::pointerX() const {
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    return waveArea().contains(pointer) ? pointer.x() : waveArea().width() / 2;
}

// Ctrl+wheel zooms around the pointer; the wheel, with or without Shift, scrolls.
void TFormWaveform::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const int notches = (delta.y() != 0 ? delta.y() : delta.x()) / 120;
    if (notches == 0) {
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        zoom(event->position().toPoint().x(), std::pow(kZoomStep, notches));
    } else {
        viewport_.scrollBy(-notches * std::max(viewport_.width() / 10, 1));
        syncScrollBar();
        update();
    }
    event->accept();
}

// The cursor and the selection move with the arrows, Home and End (with Shift the selection
// grows); Alt with an arrow goes to the next or previous region.
bool TFormWaveform::handleSelectionKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool extend = (modifiers & Qt::ShiftModifier) != 0;
    const auto step = std::max<int64_t>(std::llround(kKeyStep * viewport_.framesPerPixel()), 1);
    if ((modifiers & Qt::AltModifier) && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        selectNextRegion(key == Qt::Key_Right);
        return true;
    }
    switch (key) {
        case Qt::Key_Left:
            selection_.moveCursor(-step, extend);
            break;
        case Qt::Key_Right:
            selection_.moveCursor(step, extend);
            break;
        case Qt::Key_Home:
            selection_.moveCursorTo(0, extend);
            break;
        case Qt::Key_End:
            selection_.moveCursorTo(selection_.frameCount(), extend);
            break;
        default:
            return false;
    }
    revealCursor();
    afterSelectionChange();
    return true;
}

void TFormWaveform::keyPressEvent(QKeyEvent* event) {
    if (QAction* action = actionFor(*event)) {
        action->trigger();
        return;
    }
    if (program_.document().loaded && handleSelectionKey(event->key(), event->modifiers())) {
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        // Escape drops a border being dragged, else stops what plays; with nothing playing it
        // lets go of the selection.
        if (drag_ == Drag::Edge) {
            drag_ = Drag::None;
            dragBorder_.reset();
            afterSelectionChange();
        } else if (program_.mode() != TransportMode::tmIdle &&
                   program_.mode() != TransportMode::tmRecord) {
            stopPlaying();
        } else {
            selection_.placeCursor(selection_.cursor());
            afterSelectionChange();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFormWaveform::selectNextRegion(bool forward) {
    if (selection_.selectNextRegion(shownCues(), forward)) {
        const auto span = selection_.playSpan(shownCues());
        viewport_.reveal(selection_.anchor(), std::max(span.second, selection_.anchor() + 1));
        syncScrollBar();
    }
    afterSelectionChange();
}

void TFormWaveform::revealCursor() {
    viewport_.reveal(selection_.cursor(), selection_.cursor() + 1);
    syncScrollBar();
}

void TFormWaveform::afterSelectionChange() {
    refreshActions();
    update();
}

void TFormWaveform::contextMenuEvent(QContextMenuEvent* event) {
    if (!program_.document().loaded) {
        return;
    }
    if (!selection_.span()) {
        if (const auto region = WaveformViewport::regionAt(currentLayout(), event->pos().x())) {
            selection_.selectRegion(*region, shownCues());
        }
    }
    refreshActions();
    update();
    QMenu menu(this);
    menu.setObjectName("WaveformMenu");
    for (QAction* action : {add_, addLabelled_, play_, rename_, note_, delete_}) {
        menu.addAction(action);
    }
    menu.addSeparator();
    menu.addAction(undo_);
    menu.addAction(redo_);
    menu.addSeparator();
    for (QAction* action : {zoomSelection_, zoomFit_, zoomIn_, zoomOut_, snapItem_}) {
        menu.addAction(action);
    }
    menu.exec(event->globalPos());
}

void TFormWaveform::showFailure(const Result& result) {
    if (result.failed()) {
        program_.ui().messageBox("Waveform", result.message(), MessageIcon::Warning,
                                 MessageButtons::Ok);
    }
    refreshActions();
    update();
}

void TFormWaveform::AddRegionClick() {
    const auto span = selection_.span();
    if (!span) {
        return;
    }
    size_t index = 0;
    const Result added =
        // New regions follow the main window's Z-Cross, as the segments it chooses do.
        editing_.addRegion(span->first, span->second, program_.controls().zeroCrossAdjust, &index);
    if (added.ok()) {
        selection_.selectRegion(index, shownCues());
    }
    showFailure(added);
}

// Audacity's Ctrl+B: a region of the selection (a point at the cursor without one), its
// label open for typing at once.
void TFormWaveform::AddLabelledRegionClick() {
    finishTextEditor(true);
    const size_t before = editing_.editor().cues().size();
    if (selection_.span()) {
        AddRegionClick();
    } else {
        size_t index = 0;
        const Result added = editing_.addPoint(selection_.cursor(), &index);
        if (added.ok()) {
            selection_.selectRegion(index, shownCues());
        }
        showFailure(added);
    }
    if (editing_.editor().cues().size() > before && selection_.region()) {
        openTextEditor(*selection_.region(), TextField::Label);
    }
}

void TFormWaveform::DeleteRegionClick() {
    const auto region = selection_.region();
    if (!region) {
        return;
    }
    const Result removed = editing_.remove(*region);
    if (removed.ok()) {
        selection_.placeCursor(selection_.anchor());
    }
    showFailure(removed);
}

void TFormWaveform::RenameRegionClick() {
    // Enter in the open label keeps it (the key reaches this action first).
    if (textEditor_ != nullptr) {
        finishTextEditor(true);
    } else if (selection_.region() && editsAllowed()) {
        openTextEditor(*selection_.region(), TextField::Label);
    }
}

void TFormWaveform::EditNoteClick() {
    if (selection_.region() && editsAllowed()) {
        openTextEditor(*selection_.region(), TextField::Note);
    }
}

// Space: stops the file playing, else plays the selection, the region under the cursor or
// from the cursor on.
void TFormWaveform::PlayStopClick() {
    if (program_.mode() == TransportMode::tmPlay) {
        stopPlaying();
    } else {
        playSpan(selection_.playSpan(shownCues()));
    }
}

void TFormWaveform::playSpan(std::pair<int64_t, int64_t> span) {
    if (program_.idle() && span.second > span.first) {
        program_.PlaySpan(span.first, span.second - span.first);
    }
}

void TFormWaveform::stopPlaying() {
    if (program_.mode() == TransportMode::tmSessionPlay) {
        program_.StopSessionPlay();
    } else {
        program_.StopPlayback();
    }
}

void TFormWaveform::UndoClick() {
    editing_.undo();
    refresh();
}

void TFormWaveform::RedoClick() {
    editing_.redo();
    refresh();
}

void TFormWaveform::ZoomToSelectionClick() {
    if (const auto span = selection_.span()) {
        viewport_.zoomTo(span->first, span->second);
        syncScrollBar();
        update();
    }
}

void TFormWaveform::ZoomFitClick() {
    viewport_.fit();
    syncScrollBar();
    update();
}

void TFormWaveform::ZoomInClick() {
    zoom(pointerX(), kZoomStep);
}

void TFormWaveform::ZoomOutClick() {
    zoom(pointerX(), 1 / kZoomStep);
}

// The label or note is edited where the label stands, in a line edit over the region:
// Enter (or a click elsewhere) keeps the text, Escape leaves it as it was.
void TFormWaveform::openTextEditor(size_t index, TextField field) {
    finishTextEditor(true);
    const std::vector<CuePoint>& cues = editing_.editor().cues();
    if (index >= cues.size()) {
        return;
    }
    QRect where(4, fontMetrics().height() + 8, 220, fontMetrics().height() + 8);
    for (const WaveformLayout::Region& region : currentLayout().regions) {
        if (region.cueIndex == index) {
            where.moveTo(std::clamp(region.labelX, 0, std::max(width() - where.width(), 0)),
                         region.labelY + (field == TextField::Note ? where.height() : 0));
        }
    }
    textIndex_ = index;
    textField_ = field;
    textEditor_ = new QLineEdit(this);
    textEditor_->setObjectName("EditRegionText");
    textEditor_->setPlaceholderText(field == TextField::Label ? "Label" : "Note");
    textEditor_->setText(
        QString::fromStdString(field == TextField::Label ? cues[index].label : cues[index].note));
    textEditor_->selectAll();
    textEditor_->setGeometry(where);
    connect(textEditor_, &QLineEdit::returnPressed, this, [this] { finishTextEditor(true); });
    textEditor_->show();
    textEditor_->setFocus();
    auto* cancel = new QAction(textEditor_);
    cancel->setShortcut(Qt::Key_Escape);
    cancel->setShortcutContext(Qt::WidgetShortcut);
    connect(cancel, &QAction::triggered, this, [this] { finishTextEditor(false); });
    textEditor_->addAction(cancel);
}

void TFormWaveform::finishTextEditor(bool accept) {
    if (textEditor_ == nullptr) {
        return;
    }
    QLineEdit* editor = std::exchange(textEditor_, nullptr);
    const std::string text = editor->text().toStdString();
    editor->hide();
    editor->deleteLater();
    if (accept) {
        showFailure(textField_ == TextField::Label ? editing_.rename(textIndex_, text)
                                                   : editing_.setNote(textIndex_, text));
    }
    setFocus();
}

}  // namespace murmelix
