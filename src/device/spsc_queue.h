#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

namespace murmelix {

// A bounded lock-free queue for exactly one producer thread and one consumer thread, used to
// pass buffers between the UI thread and the audio callback. push and pop never allocate,
// lock or wait. The capacity is fixed at construction (rounded up to a power of two).
//
// Memory ordering. The producer writes the slot and then publishes it by storing the new
// tail with release; the consumer loads the tail with acquire before it reads the slot, so
// the slot's contents (and everything the producer wrote before pushing, such as a buffer's
// bytesRecorded) are visible to it. In the other direction the consumer stores the new head
// with release after it has copied the slot out, and the producer loads the head with
// acquire before it reuses that slot, so a slot is never overwritten while it is still being
// read. Each index is written by one side only; the other side only reads it.
//
// The indices count up without bound and are reduced with the mask when a slot is used;
// their unsigned difference stays the element count across the wrap of the counter itself
// because the capacity divides 2^64.
//
// The roles may change hands (for example from the audio thread to the UI thread once the
// stream is stopped) only when the thread taking over is ordered after the one that stops,
// as joining that thread ensures.
template <typename T>
class SpscQueue {
  public:
    // firstIndex starts both counters elsewhere than 0, which lets a test run the counters
    // across their own wrap-around.
    explicit SpscQueue(size_t capacity, size_t firstIndex = 0)
        : slots_(roundUp(capacity)),
          mask_(slots_.size() - 1),
          head_(firstIndex),
          tail_(firstIndex) {}

    SpscQueue(const SpscQueue&) = delete;
    SpscQueue& operator=(const SpscQueue&) = delete;

    // Producer only. False when the queue is full.
    bool push(const T& value) {
        const size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == slots_.size()) {
            return false;
        }
        slots_[tail & mask_] = value;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer only. False when the queue is empty.
    bool pop(T& out) {
        const size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) {
            return false;
        }
        out = slots_[head & mask_];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Either side; exact only while the other side is idle.
    size_t size() const {
        return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire);
    }
    bool empty() const { return size() == 0; }
    size_t capacity() const { return slots_.size(); }

  private:
    static size_t roundUp(size_t capacity) {
        size_t size = 1;
        while (size < capacity) {
            size <<= 1;
        }
        return size;
    }

    // The two counters live on cache lines of their own so that the producer's and the
    // consumer's stores do not invalidate each other's line.
    static constexpr size_t kLine = 64;

    std::vector<T> slots_;
    const size_t mask_;
    alignas(kLine) std::atomic<size_t> head_;  // next slot to read; written by the consumer
    alignas(kLine) std::atomic<size_t> tail_;  // next slot to write; written by the producer
};

}  // namespace murmelix
