#pragma once

#include <atomic>
#include <chrono>
#include <functional>

namespace murmelix {

// Runs a call that may block inside a library (a sound server that froze or vanished can hold
// a stream's stop or close for as long as it likes) on a thread of its own, and waits for it
// only up to a deadline, so the caller's thread stays free.
//
// A call that misses its deadline is abandoned: it goes on in the background, and when it
// finally returns, its cleanup runs there (to close what it opened, say). The caller must
// then treat everything the call touches as no longer its own.
class BlockingCall {
  public:
    // True when task returned within the deadline.
    static bool run(std::function<void()> task, std::chrono::milliseconds deadline,
                    std::function<void()> cleanup = {});

    // Abandoned calls that have not returned yet, across the process. A library must not be
    // shut down under them.
    static int stillRunning() { return running_.load(std::memory_order_acquire); }

  private:
    static std::atomic<int> running_;
};

}  // namespace murmelix
