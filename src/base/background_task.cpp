#include "base/background_task.h"

#include <utility>

namespace murmelix {

BackgroundTask::BackgroundTask(Work work)
    : thread_([this, work = std::move(work)] { run(work); }) {}

BackgroundTask::~BackgroundTask() {
    cancel();
    thread_.join();
}

void BackgroundTask::run(const Work& work) {
    work(*this);
    const std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    ended_.notify_all();
}

void BackgroundTask::report(int64_t done, int64_t total) {
    total_.store(total, std::memory_order_relaxed);
    done_.store(done, std::memory_order_relaxed);
}

bool BackgroundTask::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return ended_.wait_for(lock, timeout, [this] { return finished_; });
}

}  // namespace murmelix
