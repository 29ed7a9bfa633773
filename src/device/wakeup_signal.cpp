#include "device/wakeup_signal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace murmelix {

WakeupSignal::WakeupSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeupSignal::~WakeupSignal() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void WakeupSignal::raise() {
    // The exchange orders whatever the raiser did before (pushing a finished buffer) before
    // the owner's clear() that reads this true value; a raise that finds the flag already
    // set leaves the descriptor alone because the owner has not looked yet.
    if (raised_.exchange(true, std::memory_order_acq_rel)) {
        return;
    }
    if (fd_ >= 0) {
        const uint64_t one = 1;
        // A full eventfd counter (impossible at one write per clear) is the only failure,
        // and it leaves the descriptor readable, which is all that matters.
        [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
    }
}

bool WakeupSignal::clear() {
    // Empty the descriptor before lowering the flag. The other order loses wake-ups: a raise
    // between the two steps would see the flag down, write, and have its write swallowed
    // here, leaving the flag up with nothing to read, so no later raise would write again.
    if (fd_ >= 0) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = ::read(fd_, &count, sizeof count);
    }
    return raised_.exchange(false, std::memory_order_acq_rel);
}

bool WakeupSignal::wait(std::chrono::milliseconds timeout) const {
    if (raised()) {
        return true;
    }
    if (fd_ < 0) {
        return false;
    }
    pollfd watched{fd_, POLLIN, 0};
    int result = 0;
    do {
        result = ::poll(&watched, 1, static_cast<int>(timeout.count()));
    } while (result < 0 && errno == EINTR);
    return result > 0 || raised();
}

}  // namespace murmelix
