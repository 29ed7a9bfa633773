#pragma once

#include <cstddef>
#include <vector>

#include "device/done_queue.h"
#include "device/wave_buffer.h"

namespace murmelix {

// The buffers an output has begun to play and not yet handed back, in order, each with where
// it starts and ends in the converter's input and, once the output has come that far, when
// its first and its last frame are heard on the stream's clock. A buffer goes back to the
// owner when its last frame has been heard.
//
// Used by whoever renders (see OutputRenderer); never allocates after construction.
class HeardTimeline {
  public:
    explicit HeardTimeline(size_t capacity) : entries_(capacity) {}

    // A buffer starts at this input position. False (nothing kept) when full.
    bool begin(WaveBuffer* buffer, double inputStart);
    // The buffer begun last ends at this input position.
    void end(double inputEnd);

    // The output has given out input positions from `from` to `to`; position `from` is heard
    // at `heardAt`, and every further input frame takes secondsPerFrame.
    void reach(double from, double to, double heardAt, double secondsPerFrame);
    // The converter has given out all it was fed, the last of it heard at heardAt.
    void reachAll(double heardAt);

    // Hands back every buffer whose last frame is heard by now, each marked as sounded.
    void releaseHeard(double now, DoneQueue& done);
    // Hands back every buffer at once, as a stop does; those whose sound had begun by now
    // are marked as sounded.
    void releaseAll(double now, DoneQueue& done);

    bool empty() const { return count_ == 0; }

  private:
    struct Entry {
        WaveBuffer* buffer = nullptr;
        double inputStart = 0;
        double inputEnd = -1;  // below 0 while it is still being fed
        double startsAt = -1;  // when its first frame is heard; below 0 until known
        double endsAt = -1;    // when its last frame is heard; below 0 until known
    };

    Entry& at(size_t i) { return entries_[(head_ + i) % entries_.size()]; }
    void pop(DoneQueue& done, bool sounded);

    std::vector<Entry> entries_;
    size_t head_ = 0;
    size_t count_ = 0;
};

}  // namespace murmelix
