#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "app/cue_editing.h"
#include "labels/peak_cache.h"
#include "labels/waveform_layout.h"
#include "labels/waveform_palette.h"
#include "labels/waveform_viewport.h"

class QAction;
class QLineEdit;
class QScrollBar;
class QTimer;

namespace murmelix {

class Program;

// The waveform window: the whole recording as a min/max overview (one lane a channel) with
// a time ruler, the cue regions as shaded spans with their labels, and what plays now: the
// segment being heard during an OQT or a session replay, the replayed sequence's entries as
// marks, or a moving cursor during file playback.
//
// The regions are edited here: drag over the sound to select a stretch, Insert (or "Add
// region") makes it a region; drag a border to move it; double-click to rename, Delete to
// remove, Ctrl+Z and Ctrl+Shift+Z to undo and redo; a click on a region plays it. Every
// edit goes through CueEditing, which writes the table back into the document.
class TFormWaveform : public QWidget {
  public:
    static constexpr int kDefaultClientWidth = 900;
    static constexpr int kDefaultClientHeight = 320;
    // Pixels within which the pointer grabs a region's border.
    static constexpr int kEdgeGrab = 4;

    TFormWaveform(Program& program, QWidget* owner);

    CueEditing& cueEditing() { return editing_; }
    // Regions to show in place of the document's while the person reviews them; nothing:
    // the document's own again.
    void setProposal(std::optional<std::vector<CuePoint>> regions);
    // The document's samples changed: the peaks are made again (now, or when next shown).
    void documentReplaced();
    // The program's state changed (mode, cue table): commands and picture follow.
    void refresh();
    // The segment now heard, in frames (frames 0: none).
    void showSegmentSpan(int64_t firstFrame, int64_t frames);
    void showPaused(bool paused);

    QSize clientSize() const { return size(); }
    void setClientSize(QSize size) { resize(size); }

    // Called whenever the window closes.
    std::function<void()> onClosed;

    // What the window shows now, for the tests and the benchmark.
    QRect waveArea() const;
    const WaveformViewport& viewport() const { return viewport_; }
    WaveformLayout currentLayout() const;
    std::optional<std::pair<int64_t, int64_t>> selection() const;
    std::optional<size_t> selectedRegion() const { return selectedRegion_; }
    std::optional<std::pair<int64_t, int64_t>> highlight() const { return highlight_; }
    std::optional<int64_t> cursorFrame() const;
    const WaveformPalette& waveformPalette() const { return palette_; }
    // Paints `layout` (`height` pixels high) with QPainter as WaveformPainter draws it into
    // its raster, labels in the painter's font.
    static void paintLayout(QPainter& painter, const WaveformLayout& layout,
                            const WaveformPalette& palette, int height);

    // Handlers.
    void AddRegionClick();
    void DeleteRegionClick();
    void RenameRegionClick();
    void EditNoteClick();
    void PlayRegionClick();
    void UndoClick();
    void RedoClick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    enum class Drag { None, Select, Edge, Scroll };
    enum class TextField { Label, Note };

    QAction* addAction(const char* name, const char* caption, const QKeySequence& key,
                       void (TFormWaveform::*handler)());
    void buildBottomBar();
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
    int64_t anchorFrame_ = 0;
    int64_t dragFrame_ = 0;
    int64_t scrollFromPixel_ = 0;
    std::optional<WaveformViewport::Edge> dragEdge_;
    std::optional<std::pair<int64_t, int64_t>> selection_;
    std::optional<size_t> selectedRegion_;
    std::optional<std::pair<int64_t, int64_t>> highlight_;
    std::optional<std::vector<CuePoint>> proposal_;

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
    QAction* add_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* rename_ = nullptr;
    QAction* note_ = nullptr;
    QAction* play_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

}  // namespace murmelix
