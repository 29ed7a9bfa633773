#include "device/done_queue.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "device/wakeup_signal.h"

namespace murmelix {
namespace {

using std::chrono::milliseconds;

bool readable(int fd, int timeoutMs = 0) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, timeoutMs) == 1;
}

TEST(WakeupSignalTest, DescriptorIsReadableExactlyWhileRaised) {
    const struct {
        const char* name;
        int raises;
        bool clearAfter;
        bool readableAtEnd;
    } cases[] = {
        {"never raised", 0, false, false},
        {"raised once", 1, false, true},
        {"raised many times", 5, false, true},
        {"raised then cleared", 3, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WakeupSignal signal;
        ASSERT_GE(signal.fd(), 0);
        for (int i = 0; i < c.raises; ++i) {
            signal.raise();
        }
        if (c.clearAfter) {
            EXPECT_TRUE(signal.clear());
        }
        EXPECT_EQ(readable(signal.fd()), c.readableAtEnd);
        EXPECT_EQ(signal.wait(milliseconds(0)), c.readableAtEnd);
    }
}

TEST(DoneQueueTest, DrainReturnsBuffersInOrderMarkedDone) {
    DoneQueue queue(8);
    WaveBuffer buffers[5];
    std::vector<WaveBuffer*> out;
    EXPECT_EQ(queue.drain(out), 0u);
    EXPECT_FALSE(queue.pending());
    for (auto& b : buffers) {
        ASSERT_TRUE(queue.push(&b));
    }
    EXPECT_TRUE(queue.pending());
    EXPECT_TRUE(readable(queue.fd()));
    EXPECT_EQ(queue.drain(out), 5u);
    ASSERT_EQ(out.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(out[i], &buffers[i]);
        EXPECT_TRUE(out[i]->done);
    }
    EXPECT_FALSE(queue.pending());
    EXPECT_FALSE(readable(queue.fd()));
}

// The owner sleeps on the bare descriptor between drains, as the window's socket notifier and
// the command-line tool's poll() do. If a raise could be swallowed between the owner's clear and
// its next sleep, the owner would wait forever with buffers in the queue; the timeout turns that
// into a failure.
TEST(DoneQueueTest, OwnerSleepingOnTheDescriptorNeverMissesABuffer) {
    const struct {
        int count;
        int burst;
    } cases[] = {{100000, 1}, {100000, 7}, {20000, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "burst " << c.burst);
        DoneQueue queue(256);
        std::vector<WaveBuffer> buffers(static_cast<size_t>(c.count));
        std::atomic<int> taken{0};
        std::thread producer([&] {
            for (int i = 0; i < c.count;) {
                // Stay within what the owner has taken back, as the devices do.
                if (i - taken.load() + c.burst > 256) {
                    std::this_thread::yield();
                    continue;
                }
                for (int k = 0; k < c.burst && i < c.count; ++k, ++i) {
                    queue.push(&buffers[static_cast<size_t>(i)]);
                }
            }
        });
        std::vector<WaveBuffer*> out;
        bool stuck = false;
        while (out.size() < buffers.size()) {
            // Once stuck, just keep draining so that the producer can finish.
            if (!stuck && !readable(queue.fd(), 1000)) {
                stuck = true;
            }
            queue.drain(out);
            taken.store(static_cast<int>(out.size()));
        }
        producer.join();
        EXPECT_FALSE(stuck) << "the owner slept through a wake-up";
        queue.drain(out);
        ASSERT_EQ(out.size(), buffers.size());
        for (size_t i = 0; i < out.size(); ++i) {
            ASSERT_EQ(out[i], &buffers[i]) << i;
        }
    }
}

}  // namespace
}  // namespace murmelix
