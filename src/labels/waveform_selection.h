#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include <vector>

#include "audio/cue_point.h"

namespace murmelix {

// What is selected in the waveform window, as Audacity keeps it: a cursor (the caret) and
// an anchor; between them, when they differ, the selected stretch. A selected region sets
// both to its borders and is remembered for Delete and rename. The window's mouse and keys
// move them; frames are kept inside [0, frameCount]. `cues` is the table the window shows
// (the document's, or found regions under review); a region of length 0 is a point.
class WaveformSelection {
  public:
    // A new document: nothing selected, the cursor at the start.
    void reset(int64_t frameCount);
    int64_t frameCount() const { return frameCount_; }

    // A click: the cursor there, nothing selected.
    void placeCursor(int64_t frame);
    // A drag from the anchor, or Shift with a key: the cursor moves, the anchor stays.
    void extendTo(int64_t frame);
    // The cursor by `frames`, extending the selection or (without `extend`) taking it away.
    void moveCursor(int64_t frames, bool extend);
    void moveCursorTo(int64_t frame, bool extend);
    void selectRegion(size_t index, const std::vector<CuePoint>& cues);
    // The next region after the selected one (or after the cursor), or the previous one,
    // in the order of their starts; false when there is none.
    bool selectNextRegion(const std::vector<CuePoint>& cues, bool forward);
    // The regions or the document changed: a selected region that is gone is forgotten.
    void follow(const std::vector<CuePoint>& cues, int64_t frameCount);
    // The end of a region, kept inside the data.
    int64_t endOf(const CuePoint& cue) const;

    int64_t cursor() const { return cursor_; }
    int64_t anchor() const { return anchor_; }
    // The selected stretch [first, end), none when only the cursor stands.
    std::optional<std::pair<int64_t, int64_t>> span() const;
    std::optional<size_t> region() const { return region_; }

    // What Space plays: the selected stretch, else the region under the cursor (the
    // shortest), else from the cursor to the end.
    std::pair<int64_t, int64_t> playSpan(const std::vector<CuePoint>& cues) const;

  private:
    int64_t clamped(int64_t frame) const;

    int64_t frameCount_ = 0;
    int64_t anchor_ = 0;
    int64_t cursor_ = 0;
    std::optional<size_t> region_;
};

}  // namespace murmelix
