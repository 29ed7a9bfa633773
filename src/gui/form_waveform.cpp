#include "gui/form_waveform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/program.h"
#include "base/user_interface.h"

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
    add_ =
        addAction("ActionAddRegion", "&Add region", Qt::Key_Insert, &TFormWaveform::AddRegionClick);
    play_ = addAction("ActionPlayRegion", "&Play region", {}, &TFormWaveform::PlayRegionClick);
    rename_ = addAction("ActionRenameRegion", "&Rename...", Qt::Key_F2,
                        &TFormWaveform::RenameRegionClick);
    note_ = addAction("ActionEditNote", "Edit &note...", {}, &TFormWaveform::EditNoteClick);
    delete_ = addAction("ActionDeleteRegion", "&Delete region", Qt::Key_Delete,
                        &TFormWaveform::DeleteRegionClick);
    undo_ = addAction("ActionUndo", "&Undo", QKeySequence("Ctrl+Z"), &TFormWaveform::UndoClick);
    redo_ =
        addAction("ActionRedo", "&Redo", QKeySequence("Ctrl+Shift+Z"), &TFormWaveform::RedoClick);
    cursorTimer_ = new QTimer(this);
    cursorTimer_->setInterval(kCursorTickMs);
    connect(cursorTimer_, &QTimer::timeout, this, [this] { tickCursor(); });
    palette_ = darkPalette(palette()) ? WaveformPalette::dark() : WaveformPalette::light();
    resize(kDefaultClientWidth, kDefaultClientHeight);
    refreshActions();
}

QAction* TFormWaveform::addAction(const char* name, const char* caption, const QKeySequence& key,
                                  void (TFormWaveform::*handler)()) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(name);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    QWidget::addAction(action);
    return action;
}

void TFormWaveform::buildBottomBar() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    bottomBar_ = new QWidget(this);
    auto* row = new QHBoxLayout(bottomBar_);
    row->setContentsMargins(4, 2, 4, 2);
    scrollBar_ = new QScrollBar(Qt::Horizontal, bottomBar_);
    scrollBar_->setObjectName("ScrollBarWaveform");
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != viewport_.scrollPosition()) {
            viewport_.scrollTo(value);
            update();
        }
    });
    row->addWidget(scrollBar_, 1);
    layout->addWidget(bottomBar_);
}

QRect TFormWaveform::waveArea() const {
    return QRect(0, 0, width(), std::max(bottomBar_->geometry().top(), 1));
}

void TFormWaveform::documentReplaced() {
    selection_.reset();
    selectedRegion_.reset();
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
    if (selectedRegion_ && *selectedRegion_ >= editing_.editor().cues().size()) {
        selectedRegion_.reset();
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
    refreshActions();
    update();
}

void TFormWaveform::refreshActions() {
    const bool editable = editing_.editable();
    const bool region = selectedRegion_.has_value();
    add_->setEnabled(editable && selection_.has_value());
    delete_->setEnabled(editable && region);
    rename_->setEnabled(editable && region);
    note_->setEnabled(editable && region);
    play_->setEnabled(region && program_.mode() == TransportMode::tmIdle && program_.idle());
    const CueEditor& editor = editing_.editor();
    undo_->setEnabled(editable && editor.canUndo());
    redo_->setEnabled(editable && editor.canRedo());
    undo_->setText(QString("&Undo %1").arg(QString::fromStdString(editor.undoName())).trimmed());
    redo_->setText(QString("&Redo %1").arg(QString::fromStdString(editor.redoName())).trimmed());
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
    view.regions = proposal_ ? &*proposal_ : nullptr;
    view = viewport_.apply(view);
    view.width = width;
    return view;
}

void TFormWaveform::setProposal(std::optional<std::vector<CuePoint>> regions) {
    proposal_ = std::move(regions);
    update();
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

std::optional<std::pair<int64_t, int64_t>> TFormWaveform::selection() const {
    return selection_;
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
    for (const WaveformLayout::Region& region : layout.regions) {
        const LayoutRect& r = region.rect;
        painter.fillRect(
            r.x, r.y, r.width, r.height,
            toQColor(p.regionFills[static_cast<size_t>(region.fill) % p.regionFills.size()]));
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
    const QColor border = toQColor(p.regionBorder);
    for (const WaveformLayout::Region& region : layout.regions) {
        const LayoutRect& r = region.rect;
        if (region.startVisible) {
            painter.fillRect(r.x, r.y, 1, r.height, border);
        }
        if (region.endVisible) {
            painter.fillRect(r.x + r.width - 1, r.y, 1, r.height, border);
        }
        painter.save();
        painter.setClipRect(QRect(region.labelX, region.labelY,
                                  std::max(region.labelClipRight - region.labelX, 0),
                                  metrics.height()));
        painter.setPen(toQColor(p.regionText));
        painter.drawText(QPoint(region.labelX, region.labelY + metrics.ascent()),
                         QString::fromStdString(region.label));
        painter.restore();
    }
    if (layout.cursorX) {
        painter.fillRect(*layout.cursorX, ruler.y + ruler.height, 1, area.height() - ruler.height,
                         toQColor(p.cursor));
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
    if (selection_) {
        const int left = std::max(layout.xOf(selection_->first), 0);
        const int right = std::min(layout.xOf(selection_->second), area.width());
        painter.fillRect(left, lanesTop, std::max(right - left, 1), area.height() - lanesTop,
                         selectionColour);
    }
    if (drag_ == Drag::Edge) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        const int x = layout.xOf(dragFrame_);
        painter.drawLine(x, lanesTop, x, area.height());
    }
    if (selectedRegion_) {
        for (const WaveformLayout::Region& region : layout.regions) {
            if (region.cueIndex == *selectedRegion_) {
                painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
                painter.setBrush(Qt::NoBrush);
                const LayoutRect& r = region.rect;
                painter.drawRect(QRect(r.x + 1, r.y + 1, r.width - 2, r.height - 2));
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
}

void TFormWaveform::closeEvent(QCloseEvent* event) {
    finishTextEditor(false);
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

void TFormWaveform::mousePressEvent(QMouseEvent* event) {
    setFocus();
    const int x = event->position().toPoint().x();
    const int y = event->position().toPoint().y();
    if (!program_.document().loaded || !waveArea().contains(event->position().toPoint())) {
        return;
    }
    finishTextEditor(true);
    pressX_ = x;
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
    dragEdge_ = editing_.editable() ? WaveformViewport::edgeAt(layout, x, kEdgeGrab) : std::nullopt;
    if (dragEdge_) {
        drag_ = Drag::Edge;
        dragFrame_ = frameAtX(x);
        selectedRegion_ = dragEdge_->cueIndex;
        return;
    }
    drag_ = Drag::Select;
    anchorFrame_ = frameAtX(x);
    dragFrame_ = anchorFrame_;
}

void TFormWaveform::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    switch (drag_) {
        case Drag::Scroll:
            viewport_.scrollTo(scrollFromPixel_ + (pressX_ - x));
            syncScrollBar();
            break;
        case Drag::Edge:
            dragFrame_ = frameAtX(x);
            break;
        case Drag::Select:
            dragFrame_ = frameAtX(x);
            if (std::abs(x - pressX_) > kClickSlack) {
                selection_ = std::minmax(anchorFrame_, dragFrame_);
                refreshActions();
            }
            break;
        case Drag::None: {
            const bool onEdge = editing_.editable() && program_.document().loaded &&
                                WaveformViewport::edgeAt(currentLayout(), x, kEdgeGrab).has_value();
            setCursor(onEdge ? Qt::SizeHorCursor : Qt::ArrowCursor);
            return;
        }
    }
    update();
}

void TFormWaveform::mouseReleaseEvent(QMouseEvent* event) {
    const Drag drag = std::exchange(drag_, Drag::None);
    const int x = event->position().toPoint().x();
    if (drag == Drag::Edge && dragEdge_) {
        showFailure(editing_.moveEdge(dragEdge_->cueIndex, dragEdge_->edge, frameAtX(x)));
    } else if (drag == Drag::Select && std::abs(x - pressX_) <= kClickSlack) {
        // A click: selects and plays the region under it, or clears the selection.
        selection_.reset();
        selectedRegion_ = WaveformViewport::regionAt(currentLayout(), x);
        if (selectedRegion_) {
            PlayRegionClick();
        }
    } else if (drag == Drag::Select) {
        selection_ = std::minmax(anchorFrame_, frameAtX(x));
        selectedRegion_.reset();
    }
    dragEdge_.reset();
    refreshActions();
    update();
}

void TFormWaveform::mouseDoubleClickEvent(QMouseEvent* event) {
    const std::optional<size_t> region =
        WaveformViewport::regionAt(currentLayout(), event->position().toPoint().x());
    if (region && editing_.editable()) {
        selectedRegion_ = region;
        openTextEditor(*region, TextField::Label);
    }
}

void TFormWaveform::zoom(int x, double factor) {
    viewport_.zoomAround(x, factor);
    syncScrollBar();
    update();
}

void TFormWaveform::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) {
        return;
    }
    zoom(event->position().toPoint().x(), std::pow(kZoomStep, steps));
    event->accept();
}

void TFormWaveform::keyPressEvent(QKeyEvent* event) {
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    const int x = waveArea().contains(pointer) ? pointer.x() : waveArea().width() / 2;
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoom(x, kZoomStep);
            return;
        case Qt::Key_Minus:
            zoom(x, 1 / kZoomStep);
            return;
        case Qt::Key_Home:
            viewport_.home();
            break;
        case Qt::Key_End:
            viewport_.end();
            break;
        case Qt::Key_Left:
            viewport_.scrollBy(-std::max(viewport_.width() / 10, 1));
            break;
        case Qt::Key_Right:
            viewport_.scrollBy(std::max(viewport_.width() / 10, 1));
            break;
        case Qt::Key_Escape:
            selection_.reset();
            selectedRegion_.reset();
            refreshActions();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    syncScrollBar();
    update();
}

void TFormWaveform::contextMenuEvent(QContextMenuEvent* event) {
    if (!program_.document().loaded) {
        return;
    }
    if (!selection_) {
        if (const auto region = WaveformViewport::regionAt(currentLayout(), event->pos().x())) {
            selectedRegion_ = region;
        }
    }
    refreshActions();
    QMenu menu(this);
    menu.setObjectName("WaveformMenu");
    for (QAction* action : {add_, play_, rename_, note_, delete_}) {
        menu.addAction(action);
    }
    menu.addSeparator();
    menu.addAction(undo_);
    menu.addAction(redo_);
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
    if (!selection_) {
        return;
    }
    size_t index = 0;
    const Result added =
        // New regions follow the main window's Z-Cross, as the segments it chooses do.
        editing_.addRegion(selection_->first, selection_->second,
                           program_.controls().zeroCrossAdjust, &index);
    if (added.ok()) {
        selection_.reset();
        selectedRegion_ = index;
    }
    showFailure(added);
}

void TFormWaveform::DeleteRegionClick() {
    if (!selectedRegion_) {
        return;
    }
    const Result removed = editing_.remove(*selectedRegion_);
    if (removed.ok()) {
        selectedRegion_.reset();
    }
    showFailure(removed);
}

void TFormWaveform::RenameRegionClick() {
    if (selectedRegion_ && editing_.editable()) {
        openTextEditor(*selectedRegion_, TextField::Label);
    }
}

void TFormWaveform::EditNoteClick() {
    if (selectedRegion_ && editing_.editable()) {
        openTextEditor(*selectedRegion_, TextField::Note);
    }
}

void TFormWaveform::PlayRegionClick() {
    if (selectedRegion_ && program_.idle()) {
        editing_.playRegion(*selectedRegion_);
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

// The label or note is edited where the label stands, in a line edit over the region:
// Enter (or a click elsewhere) keeps the text, Escape leaves it as it was.
void TFormWaveform::openTextEditor(size_t index, TextField field) {
    finishTextEditor(false);
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
