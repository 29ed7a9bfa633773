#pragma once

#include <atomic>
#include <chrono>

namespace murmelix {

// Tells the owner's thread that a device has something for it, through a file descriptor the
// owner can watch (a QSocketNotifier in the window, poll() in the command-line tool).
//
// raise() may be called from the audio callback: it neither allocates nor locks, and it
// writes to the descriptor only on the first raise after the owner cleared the signal, so a
// burst of finished buffers costs one system call.
class WakeupSignal {
  public:
    WakeupSignal();
    ~WakeupSignal();
    WakeupSignal(const WakeupSignal&) = delete;
    WakeupSignal& operator=(const WakeupSignal&) = delete;

    // Readable while the signal is raised. -1 only if the system refused an eventfd.
    int fd() const { return fd_; }

    // Any thread.
    void raise();

    // Owner thread: clears the signal; true when it was raised. Clear first and then look
    // for work, so that a raise that comes during the look leaves the signal set.
    bool clear();

    // Owner thread: waits until the signal is raised or the timeout has passed; true when
    // raised. Does not clear it.
    bool wait(std::chrono::milliseconds timeout) const;

    bool raised() const { return raised_.load(std::memory_order_acquire); }

  private:
    int fd_ = -1;
    std::atomic<bool> raised_{false};
};

}  // namespace murmelix
