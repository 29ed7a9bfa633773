#include "device/blocking_call.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace murmelix {

std::atomic<int> BlockingCall::running_{0};

namespace {

struct CallState {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    std::function<void()> cleanup;
};

}  // namespace

bool BlockingCall::run(std::function<void()> task, std::chrono::milliseconds deadline,
                       std::function<void()> cleanup) {
    auto state = std::make_shared<CallState>();
    state->cleanup = std::move(cleanup);
    std::thread([state, task = std::move(task)] {
        task();
        std::unique_lock lock(state->mutex);
        state->done = true;
        if (!state->abandoned) {
            state->finished.notify_one();
            return;
        }
        lock.unlock();
        if (state->cleanup) {
            state->cleanup();
        }
        running_.fetch_sub(1, std::memory_order_acq_rel);
    }).detach();
    std::unique_lock lock(state->mutex);
    if (state->finished.wait_for(lock, deadline, [&] { return state->done; })) {
        return true;
    }
    state->abandoned = true;
    running_.fetch_add(1, std::memory_order_acq_rel);
    return false;
}

}  // namespace murmelix
