#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "app/cue_editing.h"
#include "app/cue_search.h"
#include "app/found_regions_review.h"
#include "labels/peak_cache.h"
#include "labels/waveform_borders.h"
#include "labels/waveform_layout.h"
#include "labels/waveform_palette.h"
#include "labels/waveform_selection.h"
#include "labels/waveform_viewport.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;

namespace murmelix {

class Program;

// The waveform window: the whole recording as a min/max overview (one lane a channel) with
// a time ruler, the cue regions as shaded spans with their labels (points as markers), and
// what plays now: the segment being heard during an OQT or a session replay, the replayed
// sequence's entries as marks, or a moving cursor during file playback.
//
// The regions are edited here as in Audacity: a click places the cursor or selects the
// region under it, a drag selects a stretch, Insert makes it a region and Ctrl+B makes one
// and opens its label; a border clear of its neighbours is dragged to move it (a border two
// regions share moves for both); Space plays and stops, a double-click plays a region or,
// on its label, renames it. Every edit goes through CueEditing, which writes the table back
// into the document.
//
// Regions a search found are reviewed here before they touch the table: they lie in a lane
// of their own under the table's, a bar above the scroll bar says how many there are and
// what to look out for, and its buttons replace the table with them, add them or drop them.
// Meanwhile the window scrolls, zooms and plays as ever; clicks select found regions, and
// nothing edits the table from here.
//
// The logic lives in WaveformSelection, WaveformBorders, WaveformViewport, WaveformStatus
// and FoundRegionsReview; this class forwards events and paints.
class TFormWaveform : public QWidget {
  public:
    static constexpr int kDefaultClientWidth = 900;
    static constexpr int kDefaultClientHeight = 320;
    // Pixels within which the pointer grabs a region's border, and how far the border must
    // stand from every other for that.
    static constexpr int kEdgeGrab = 4;
    static constexpr int kEdgeApart = 2 * kEdgeGrab + 1;
    // Pixels the cursor moves with an arrow key.
    static constexpr int kKeyStep = 2;

    TFormWaveform(Program& program, QWidget* owner);

    CueEditing& cueEditing() { return editing_; }
    // Shows what `search` found (not empty) for review, in place of a review still open.
    void reviewFound(const CueSearch& search, std::vector<CuePoint> found);
    const FoundRegionsReview& review() const { return review_; }
    // The document's samples changed: the peaks are made again (now, or when next shown).
    void documentReplaced();
    // The program's state changed (mode, cue table): commands and picture follow.
    void refresh();
    // The segment now heard, in frames (frames 0: none).
    void showSegmentSpan(int64_t firstFrame, int64_t frames);
    void showPaused(bool paused);
    // Shows the window in front with the keyboard focus, so that its keys work at once
    // (Extras > Waveform, F9).
    void showAndFocus();
    // "Snap to zero crossings": dragged borders land on rising zero crossings (kept in the
    // settings).
    bool snapToZeroCrossings() const;
    void setSnapToZeroCrossings(bool on);

    QSize clientSize() const { return size(); }
    void setClientSize(QSize size) { resize(size); }

    // Called whenever the window closes.
    std::function<void()> onClosed;
    // Called when found regions went into the table, so that the main window's commands
    // (its Edit menu) follow.
    std::function<void()> onTableChanged;

    // What the window shows now, for the tests and the benchmark.
    QRect waveArea() const;
    const WaveformViewport& viewport() const { return viewport_; }
    WaveformLayout currentLayout() const;
    std::optional<std::pair<int64_t, int64_t>> selection() const { return selection_.span(); }
    const WaveformSelection& selectionModel() const { return selection_; }
    std::optional<size_t> selectedRegion() const { return selection_.region(); }
    QString statusText() const;
    std::optional<std::pair<int64_t, int64_t>> highlight() const { return highlight_; }
    std::optional<int64_t> cursorFrame() const;
    const WaveformPalette& waveformPalette() const { return palette_; }
    // Paints `layout` (`height` pixels high) with QPainter as WaveformPainter draws it into
    // its raster, labels in the painter's font.
    static void paintLayout(QPainter& painter, const WaveformLayout& layout,
                            const WaveformPalette& palette, int height);

    // Handlers.
    void AddRegionClick();
    void AddLabelledRegionClick();
    void DeleteRegionClick();
    void RenameRegionClick();
    void EditNoteClick();
    void PlayStopClick();
    void UndoClick();
    void RedoClick();
    void ZoomToSelectionClick();
    void ZoomFitClick();
    void ZoomInClick();
    void ZoomOutClick();
    void ReplaceFoundClick();
    void AddFoundClick();
    void DiscardFoundClick();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    enum class Drag { None, Select, Edge, Scroll };
    enum class TextField { Label, Note };

    QAction* addAction(const char* name, const char* caption, const QList<QKeySequence>& keys,
                       void (TFormWaveform::*handler)());
    void buildActions();
    // The regions drawn: the document's, or those under review, which no edit reaches.
    const std::vector<CuePoint>& shownCues() const;
    bool editsAllowed() const;
    QAction* actionFor(const QKeyEvent& key) const;
    bool handleSelectionKey(int key, Qt::KeyboardModifiers modifiers);
    void selectNextRegion(bool forward);
    void revealCursor();
    void afterSelectionChange();
    void showPointed(std::optional<size_t> pointed);
    int pointerX() const;
    void playSpan(std::pair<int64_t, int64_t> span);
    void stopPlaying();
    void buildBottomBar();
    QWidget* buildReviewBar(QWidget* parent);
    void refreshReviewBar();
    void showReviewIcon(bool visible);
    void adoptFound(bool replace);
    void endReview();
    void rebuildPeaks();
    void followViewport();
    void syncScrollBar();
    void zoom(int x, double factor);
    void showFailure(const Result& result);
    void openTextEditor(size_t index, TextField field);
    void finishTextEditor(bool accept);
    void refreshActions();
    void tickCursor();
    WaveformView viewFor(int width, int height) const;
    int64_t frameAtX(int x) const;

    Program& program_;
    CueEditing editing_;
    PeakCache peaks_;
    uint64_t peaksRevision_ = UINT64_MAX;
    WaveformViewport viewport_;
    WaveformPalette palette_ = WaveformPalette::light();

    Drag drag_ = Drag::None;
    int pressX_ = 0;
    int64_t pressFrame_ = 0;
    bool dragMoved_ = false;
    int64_t dragFrame_ = 0;
    int64_t scrollFromPixel_ = 0;
    std::optional<WaveformBorders::Border> dragBorder_;
    WaveformSelection selection_;
    std::optional<size_t> pointed_;  // the region under the pointer
    std::optional<std::pair<int64_t, int64_t>> highlight_;
    FoundRegionsReview review_;

    // File playback: the cursor runs on elapsed time at the playback rate, since the output
    // reports no position; pauses are taken out.
    QTimer* cursorTimer_ = nullptr;
    QElapsedTimer playClock_;
    int64_t pausedMs_ = 0;
    int64_t pauseStartedMs_ = -1;

    QLineEdit* textEditor_ = nullptr;
    size_t textIndex_ = 0;
    TextField textField_ = TextField::Label;

    QScrollBar* scrollBar_ = nullptr;
    QWidget* bottomBar_ = nullptr;
    QWidget* reviewBar_ = nullptr;
    QLabel* reviewIcon_ = nullptr;
    QLabel* reviewText_ = nullptr;
    QPushButton* replaceFound_ = nullptr;
    QPushButton* addFound_ = nullptr;
    QLabel* status_ = nullptr;
    QCheckBox* snap_ = nullptr;
    QAction* add_ = nullptr;
    QAction* addLabelled_ = nullptr;
    QAction* zoomSelection_ = nullptr;
    QAction* zoomFit_ = nullptr;
    QAction* zoomIn_ = nullptr;
    QAction* zoomOut_ = nullptr;
    QAction* snapItem_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* rename_ = nullptr;
    QAction* note_ = nullptr;
    QAction* play_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

}  // namespace murmelix
