#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace murmelix {

// Long work (an import, a speech analysis) on a thread of its own, so that the UI thread
// keeps drawing and can offer Cancel. The work reports how far it got and asks whether it
// should stop; the UI thread waits in short steps and shows the progress in between. The
// work must touch nothing the UI thread owns: it hands its result over when it is done,
// after waitFor() said so.
class BackgroundTask {
  public:
    using Work = std::function<void(BackgroundTask& task)>;

    explicit BackgroundTask(Work work);
    // Asks the work to stop and waits for it: nothing it writes outlives the task.
    ~BackgroundTask();
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // Worker thread.
    void report(int64_t done, int64_t total);
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

    // UI thread.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    // True once the work has ended (then its results may be read); false after `timeout`.
    bool waitFor(std::chrono::milliseconds timeout);
    int64_t done() const { return done_.load(std::memory_order_relaxed); }
    int64_t total() const { return total_.load(std::memory_order_relaxed); }

  private:
    void run(const Work& work);

    std::atomic<int64_t> done_{0};
    std::atomic<int64_t> total_{0};
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace murmelix
