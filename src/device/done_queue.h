#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

#include "device/spsc_queue.h"
#include "device/wakeup_signal.h"
#include "device/wave_buffer.h"

namespace murmelix {

// Finished buffers on their way from a device back to its owner, in the order they finished,
// with the wake-up that tells the owner to come and fetch them.
//
// One producer (the audio callback, or the owner itself while the stream is stopped) and one
// consumer (the owner's thread). The capacity bounds how many buffers may be out with the
// device at once; the device refuses more, so a push never finds the queue full.
class DoneQueue {
  public:
    explicit DoneQueue(size_t capacity) : buffers_(capacity) {}

    // Producer. Raises the wake-up.
    bool push(WaveBuffer* buffer);
    // Producer: wakes the owner without a buffer (for news such as a failed stream).
    void notify() { signal_.raise(); }

    // Owner: appends every finished buffer to out, in order, marks each done and returns how
    // many there were.
    size_t drain(std::vector<WaveBuffer*>& out);

    int fd() const { return signal_.fd(); }
    bool wait(std::chrono::milliseconds timeout) const { return signal_.wait(timeout); }
    bool pending() const { return signal_.raised() || !buffers_.empty(); }
    size_t capacity() const { return buffers_.capacity(); }

  private:
    SpscQueue<WaveBuffer*> buffers_;
    WakeupSignal signal_;
};

}  // namespace murmelix
