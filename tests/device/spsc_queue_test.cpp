#include "device/spsc_queue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <thread>
#include <vector>

namespace murmelix {
namespace {

TEST(SpscQueueTest, CapacityIsRoundedUpToAPowerOfTwo) {
    const struct {
        size_t asked;
        size_t capacity;
    } cases[] = {{1, 1}, {2, 2}, {3, 4}, {4, 4}, {5, 8}, {200, 256}, {256, 256}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "asked " << c.asked);
        SpscQueue<int> queue(c.asked);
        EXPECT_EQ(queue.capacity(), c.capacity);
        for (size_t i = 0; i < c.capacity; ++i) {
            EXPECT_TRUE(queue.push(static_cast<int>(i)));
        }
        EXPECT_FALSE(queue.push(-1)) << "full";
    }
}

// Runs the slots across the end of the ring many times, starting the counters at places
// where the slot index or the counters themselves wrap.
TEST(SpscQueueTest, KeepsOrderAndCountAcrossTheWrapAroundPoint) {
    const struct {
        const char* name;
        size_t firstIndex;
    } cases[] = {
        {"from zero", 0},
        {"one before the ring's end", 7},
        {"counters about to overflow", SIZE_MAX - 5},
        {"counters at the maximum", SIZE_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpscQueue<int> queue(8, c.firstIndex);
        int next = 0;
        int expected = 0;
        // Fill levels that differ from round to round move the wrap point through every slot.
        for (int round = 0; round < 40; ++round) {
            const int fill = 1 + round % 8;
            for (int i = 0; i < fill; ++i) {
                ASSERT_TRUE(queue.push(next++)) << "round " << round;
            }
            EXPECT_EQ(queue.size(), static_cast<size_t>(fill));
            if (fill == 8) {
                EXPECT_FALSE(queue.push(999)) << "a full ring took one more";
            }
            int value = -1;
            for (int i = 0; i < fill; ++i) {
                ASSERT_TRUE(queue.pop(value));
                EXPECT_EQ(value, expected++) << "round " << round;
            }
            EXPECT_FALSE(queue.pop(value)) << "an empty ring gave something";
            EXPECT_TRUE(queue.empty());
        }
    }
}

// A producer and a consumer on their own threads, each working in bursts of random length
// (fixed seeds, so a failure repeats): every value must arrive once, in order.
TEST(SpscQueueTest, TwoThreadsPassASequenceInOrder) {
    const struct {
        size_t capacity;
        uint32_t seed;
        uint32_t count;
    } cases[] = {{2, 1, 100000}, {16, 7, 200000}, {256, 2024, 200000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "capacity " << c.capacity);
        SpscQueue<uint32_t> queue(c.capacity);
        std::thread producer([&] {
            std::mt19937 random(c.seed);
            uint32_t next = 0;
            while (next < c.count) {
                const uint32_t burst = random() % 40;
                for (uint32_t i = 0; i < burst && next < c.count;) {
                    if (queue.push(next)) {
                        ++next;
                        ++i;
                    } else {
                        std::this_thread::yield();
                    }
                }
                if (random() % 8 == 0) {
                    std::this_thread::yield();
                }
            }
        });
        std::mt19937 random(c.seed + 1);
        uint32_t expected = 0;
        uint32_t wrong = 0;
        while (expected < c.count) {
            const uint32_t burst = random() % 40;
            uint32_t value = 0;
            for (uint32_t i = 0; i < burst && queue.pop(value); ++i) {
                wrong += value != expected ? 1 : 0;
                expected = value + 1;
            }
            if (random() % 8 == 0) {
                std::this_thread::yield();
            }
        }
        producer.join();
        EXPECT_EQ(wrong, 0u);
        EXPECT_EQ(expected, c.count);
        EXPECT_TRUE(queue.empty());
    }
}

}  // namespace
}  // namespace murmelix
