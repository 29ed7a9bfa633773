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

// The audio-thread half of an output device: turns the queued buffers into the float frames
// the sound system asks for, converting the opened format and rate (times the playback rate)
// to the stream's rate and channels, and hands each buffer back through the done queue as
// soon as its last frame has gone into the converter.
//
// render() runs on the audio thread and never allocates, locks or waits; it shares only the
// two queues and a few atomics with the owner's thread. The owner asks for a reset by raising
// a ticket that render() serves at the start of its next call (the handshake keeps the buffer
// being played and the queue consumer on one thread); while render() cannot run (stream
// stopped) the owner may do the same work itself with returnAllNow().
class OutputRenderer {
  public:
    // Input frames decoded at a time; a buffer comes back once its last chunk is decoded.
    static constexpr size_t kChunkFrames = 256;
    // Output frames converted per step.
    static constexpr size_t kConvertFrames = 1024;

    explicit OutputRenderer(DoneQueue& done, size_t capacity);

    // Owner, while render() cannot run. False when memory for the converter is missing.
    bool configure(const WaveFormat& format, double streamRate, int streamChannels);

    // Owner thread. The caller keeps the number of buffers out within the capacity.
    void submit(WaveBuffer* buffer);
    void setPaused(bool paused) { paused_.store(paused, std::memory_order_release); }
    bool paused() const { return paused_.load(std::memory_order_acquire); }
    void setRate(uint32_t rate) { rate_.store(rate, std::memory_order_release); }
    uint32_t rate() const { return rate_.load(std::memory_order_acquire); }
    // Asks render() to give every buffer back; the returned ticket is served when
    // resetServed(ticket) turns true.
    uint64_t requestReset();
    bool resetServed(uint64_t ticket) const;
    // Owner, while render() cannot run: gives every buffer back at once and serves any
    // pending reset.
    void returnAllNow();
    uint32_t underflows() const { return underflows_.load(std::memory_order_acquire); }

    // Audio thread: fills frames x stream channels floats.
    void render(float* out, size_t frames);
    // Audio thread: the sound system reported that it ran dry.
    void noteSystemUnderflow();

  private:
    struct Step {
        size_t frames = 0;
        bool progress = false;
    };

    void serviceReset();
    void returnAll();
    bool stageNextChunk();
    void finishCurrent();
    Step convert(float* out, size_t frames, double ratio);
    Step flushTail(float* out, size_t frames, double ratio);
    void starve();
    void countGap();
    double currentRatio() const;
    void silence(float* out, size_t frames) const;

    DoneQueue& done_;
    SpscQueue<WaveBuffer*> queued_;

    // Fixed by configure().
    int inChannels_ = 1;
    int bits_ = 16;
    uint32_t blockAlign_ = 2;
    double baseRatio_ = 1.0;  // stream rate / opened rate
    int streamChannels_ = 2;
    std::vector<float> staged_;
    std::vector<float> converted_;
    Resampler resampler_;

    // Owned by whoever renders (the audio thread, or the owner while the stream is stopped).
    WaveBuffer* current_ = nullptr;
    uint32_t offset_ = 0;  // bytes of current_ decoded so far
    size_t stagedFrames_ = 0;
    size_t stagedUsed_ = 0;
    bool fed_ = false;       // the converter holds input since its last reset
    bool flushing_ = false;  // the converter is giving out its tail
    bool playing_ = false;   // a buffer started since open or the last reset
    bool starved_ = false;   // ran dry while playing; the next buffer starts after a gap

    std::atomic<bool> paused_{false};
    std::atomic<uint32_t> rate_{0x10000};
    std::atomic<uint64_t> resetWanted_{0};
    std::atomic<uint64_t> resetServed_{0};
    std::atomic<uint32_t> underflows_{0};
};

}  // namespace murmelix
