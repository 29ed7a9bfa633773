#pragma once

#include <atomic>

namespace murmelix {

// Lets the owner of a stream take the callback's half back from a stream it gives up on:
// once closed, the sound system may go on calling (or finish) the stream, but nothing of the
// owner is touched again.
//
// The callback enters and leaves around every use of the owner's objects; enter() fails once
// the gate is closed. close() waits only for a callback that is inside right now, and a
// callback never blocks, so that wait is short. Neither side allocates or locks.
class CallbackGate {
  public:
    // Audio thread. False once the gate is closed: touch nothing of the owner's then.
    bool enter() {
        int expected = kOpen;
        return state_.compare_exchange_strong(expected, kInside, std::memory_order_acquire,
                                              std::memory_order_relaxed);
    }
    // Audio thread, after a successful enter().
    void leave() { state_.store(kOpen, std::memory_order_release); }

    // Owner. Returns once no callback is inside and none will enter again.
    void close() {
        for (;;) {
            int expected = kOpen;
            if (state_.compare_exchange_weak(expected, kClosed, std::memory_order_acquire,
                                             std::memory_order_relaxed) ||
                expected == kClosed) {
                return;
            }
        }
    }
    bool closed() const { return state_.load(std::memory_order_acquire) == kClosed; }

  private:
    static constexpr int kOpen = 0;
    static constexpr int kInside = 1;
    static constexpr int kClosed = 2;
    std::atomic<int> state_{kOpen};
};

}  // namespace murmelix
