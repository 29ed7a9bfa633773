#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/wave_format.h"
#include "device/done_queue.h"
#include "device/resampler.h"
#include "device/spsc_queue.h"
#include "device/wave_buffer.h"

namespace murmelix {

// The audio-thread half of an input device: converts the float frames the sound system
// delivers (stream rate and channels) to the requested format and rate, fills the added
// buffers one after the other and hands each back through the done queue when it is full.
// Frames that arrive while no buffer is queued are counted and dropped.
//
// capture() runs on the audio thread and never allocates, locks or waits. The owner stops the
// stream before it takes the buffers back with returnAllNow().
class InputCapturer {
  public:
    static constexpr size_t kChunkFrames = 256;
    static constexpr size_t kConvertFrames = 4096;

    InputCapturer(DoneQueue& done, size_t capacity);

    // Owner, while capture() cannot run. False when memory for the converter is missing.
    bool configure(const WaveFormat& format, double streamRate, int streamChannels);

    // Owner thread. The caller keeps the number of buffers out within the capacity.
    void submit(WaveBuffer* buffer);
    // Owner, while capture() cannot run: the buffer being filled comes back with what it
    // holds, the others empty.
    void returnAllNow();
    uint64_t overrunFrames() const { return overrun_.load(std::memory_order_acquire); }

    // Audio thread: frames x stream channels floats; null input counts as silence.
    void capture(const float* in, size_t frames);

  private:
    void deliver(const float* samples, size_t frames);
    void finishCurrent();

    DoneQueue& done_;
    SpscQueue<WaveBuffer*> queued_;

    int channels_ = 1;
    int bits_ = 16;
    uint32_t blockAlign_ = 2;
    int streamChannels_ = 2;
    double ratio_ = 1.0;  // requested rate / stream rate
    bool passThrough_ = true;
    std::vector<float> silence_;
    std::vector<float> mapped_;
    std::vector<float> converted_;
    Resampler resampler_;

    WaveBuffer* current_ = nullptr;
    std::atomic<uint64_t> overrun_{0};
};

}  // namespace murmelix
