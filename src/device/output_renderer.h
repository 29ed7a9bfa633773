#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/wave_format.h"
#include "device/done_queue.h"
#include "device/heard_timeline.h"
#include "device/resampler.h"
#include "device/spsc_queue.h"
#include "device/wave_buffer.h"

namespace murmelix {

// The audio-thread half of an output device: turns the queued buffers into the float frames
// the sound system asks for, converting the opened format and rate (times the playback rate)
// to the stream's rate and channels, and hands each buffer back through the done queue once
// its last frame has been heard: when the output clock reaches the moment that frame leaves
// the sound card, as the stream reports it for each period. Until then a buffer still counts
// as playing, so whatever follows the sound (the feedback, the session's heard segments, the
// closing of the device after the last buffer) follows what came out, not what went in.
//
// render() runs on the audio thread and never allocates, locks or waits; it shares only the
// two queues and a few atomics with the owner's thread. The owner asks for a reset by raising
// a ticket that render() serves at the start of its next call (the handshake keeps the buffer
// being played and the queue consumer on one thread); while render() cannot run (stream
// stopped) the owner may do the same work itself with returnAllNow().
class OutputRenderer {
  public:
    // Input frames decoded at a time.
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
    // pending reset. Buffers whose sound had begun by `now` (on the clock render() was
    // given; by default the time of the last period) come back marked as sounded.
    void returnAllNow();
    void returnAllNow(double now);
    uint32_t underflows() const { return underflows_.load(std::memory_order_acquire); }

    // Times on the stream's clock, in seconds: now, and when the first frame of this period
    // will be heard.
    struct Clock {
        double now = 0;
        double firstFrameHeard = 0;
    };

    // Audio thread: fills frames x stream channels floats.
    void render(float* out, size_t frames, Clock clock);
    // For an output that is heard as it is rendered, timed by the frames rendered so far.
    void render(float* out, size_t frames);
    // Audio thread: the sound system reported that it ran dry.
    void noteSystemUnderflow();

  private:
    struct Step {
        size_t frames = 0;
        bool progress = false;
    };

    void serviceReset();
    void returnAll(double now);
    bool stageNextChunk();
    void finishCurrent();
    // The output gave out `generated` frames from `offset` on in this period.
    void reached(size_t offset, size_t generated, double ratio);
    double heardAt(size_t offset) const;
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
    double streamRate_ = 44100;
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
    double fedInput_ = 0;    // input frames decoded since the converter's last reset
    double emitted_ = 0;     // how far into that input the output has come
    HeardTimeline timeline_;
    Clock clock_;             // of the period being rendered
    double framesClock_ = 0;  // for render() without a clock

    std::atomic<bool> paused_{false};
    std::atomic<uint32_t> rate_{0x10000};
    std::atomic<uint64_t> resetWanted_{0};
    std::atomic<uint64_t> resetServed_{0};
    std::atomic<uint32_t> underflows_{0};
};

}  // namespace murmelix
