#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "audio/cue_point.h"
#include "base/result.h"

namespace murmelix {

// The cue table under editing, with undo and redo: the model the waveform window drives.
// Every successful operation is one step; undo and redo give the table back exactly as it
// was. New regions are appended, so the numbers of the existing ones (their places in the
// table, which sessions record) stay, and each gets a fresh non-zero identifier.
//
// Regions are given as frames [start, end). A cue point of length 0 reaches to the end of
// the data; its end is frameCount. UI thread only, like the document.
class CueEditor {
  public:
    enum class Edge { Start, End };
    // One border of one region.
    struct EdgeRef {
        size_t index;
        Edge edge;
        bool operator==(const EdgeRef&) const = default;
    };
    static constexpr size_t kDefaultDepth = 1000;

    explicit CueEditor(size_t depth = kDefaultDepth) : depth_(depth < 100 ? 100 : depth) {}

    // A new table (a document was opened or labels were imported): the history goes.
    void reset(std::vector<CuePoint> cues, int64_t frameCount);
    const std::vector<CuePoint>& cues() const { return cues_; }
    int64_t frameCount() const { return frameCount_; }
    // The end frame a region reaches, length 0 counted as the end of the data.
    int64_t endOf(const CuePoint& cue) const;

    // Adds [start, end) with the label; with `snapToZeroCrossings` both borders move on to
    // the next rising zero crossing of `doc` first. Refused for an empty span or one
    // outside the data. The new region's index is in `index`.
    Result addRegion(const AudioDocument& doc, int64_t start, int64_t end, const std::string& label,
                     bool snapToZeroCrossings, size_t* index = nullptr);
    // Adds a point (a region of length 0) at `frame`: a marker in the picture.
    Result addPoint(int64_t frame, const std::string& label, size_t* index = nullptr);
    // Moves one border to `frame`, kept inside the data and one frame from the other border.
    Result moveEdge(size_t index, Edge edge, int64_t frame);
    // Moves several borders that lie on one frame (the end of one region where the next
    // starts) to `frame` as one step, so that no gap opens between them. The frame is kept
    // where every one of them may go. A point (length 0) moves as a whole.
    Result moveEdges(const std::vector<EdgeRef>& edges, int64_t frame);
    Result rename(size_t index, const std::string& label);
    Result setNote(size_t index, const std::string& note);
    Result remove(size_t index);
    // The whole table at once, as one step named `name` ("Import Labels"): labels read from
    // a file in place of the table, or added to it.
    Result replaceAll(std::vector<CuePoint> cues, const std::string& name);

    bool canUndo() const { return undoCount_ > 0; }
    bool canRedo() const { return undoCount_ < steps_.size(); }
    // What the next undo / redo would undo or redo ("Add Region", "Move Edge", "Rename",
    // "Edit Note", "Delete Region"), for the menu; empty when there is none.
    std::string undoName() const;
    std::string redoName() const;
    bool undo();
    bool redo();
    // Counts every change, undo and redo included: the window compares it with the value
    // at the last save to know whether the table is changed.
    uint64_t revision() const { return revision_; }

  private:
    // One point at `index` before and after (none: it did not exist).
    struct Change {
        size_t index = 0;
        std::optional<CuePoint> before;
        std::optional<CuePoint> after;
        bool operator==(const Change&) const = default;
    };
    // One step: its changes, made in order and undone in reverse.
    struct Step {
        std::string name;
        std::vector<Change> changes;
        // A step over the whole table: both tables, and `before` and `after` unused.
        bool wholeTable = false;
        std::vector<CuePoint> tableBefore;
        std::vector<CuePoint> tableAfter;
    };

    Result apply(Step step);
    Result append(const std::string& name, int64_t start, int64_t length, const std::string& label,
                  size_t* index);
    Result apply(const std::string& name, Change change);
    // Where `edge` may go: [first, last] frames.
    std::pair<int64_t, int64_t> edgeRange(const EdgeRef& edge) const;
    CuePoint withEdgeAt(const EdgeRef& edge, int64_t frame) const;
    void put(const Change& change, bool forward);
    void put(const Step& step, bool forward);
    Result checkIndex(size_t index) const;

    std::vector<CuePoint> cues_;
    int64_t frameCount_ = 0;
    std::deque<Step> steps_;
    size_t undoCount_ = 0;  // steps_[0, undoCount_) are done; the rest can be redone
    size_t depth_;
    uint64_t revision_ = 0;
};

}  // namespace murmelix
