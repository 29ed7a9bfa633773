#pragma once

#include <cstdint>
#include <optional>

#include "session/sequence.h"
#include "synth/segment_controls.h"

namespace murmelix {

class AudioDocument;
class RandomDraw;
class UserInterface;

// Makes an OQT without a sound card: segments are chosen one after another exactly as the
// live random fill chooses them, and every one becomes an entry (nothing is queued unheard,
// so nothing is trimmed). A seed therefore reproduces a live run segment for segment.
class OfflineRenderer {
  public:
    struct Limit {
        int64_t segments = 0;  // stop after this many, when above 0
        int64_t frames = 0;    // or once the entries' lengths add up to this many frames
    };

    // The entries chosen; nullopt when the run is refused (its message has been shown).
    // A source that halts ends the run early; halted() then tells.
    std::optional<SEQUENCE> render(const AudioDocument& doc, SegmentControls controls,
                                   RandomDraw& draw, Limit limit, UserInterface& ui);

    bool halted() const { return halted_; }

  private:
    bool halted_ = false;
};

}  // namespace murmelix
