#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "device/frame_clock.h"
#include "device/output_device.h"
#include "device/simulated_device.h"

namespace murmelix {

// An output device on a virtual clock, for tests: nothing plays until the test lets time
// pass with advance() (or waitDone(), which lets it pass until something is done). Buffers
// are consumed at the opened rate times the playback rate, and come back in order as done
// events; the exact bytes consumed are kept in played(). Every call is written to calls(),
// so a test can check the order of operations; failures can be scripted.
class SimulatedOutputDevice final : public SimulatedDevice<OutputDevice> {
  public:
    int open(int deviceId, const WaveFormat& format, bool queryOnly) override;
    int write(WaveBuffer* buffer) override;
    int pause() override;
    int restart() override;
    int reset() override;
    int setPlaybackRate(uint32_t rate) override;
    int close() override;
    uint32_t underflowCount() const override { return underflows_; }
    bool waitDone(std::chrono::milliseconds timeout) override;

    // Script (and the opens' script of SimulatedDevice).
    // The stream dies as when the sound server quits: every buffer comes back, lastError()
    // tells why, and writes are refused until the next open.
    void die(std::string details = {});

    // Time.
    void advance(uint64_t ms);
    uint64_t nowMs() const { return nowMs_; }

    // What happened.
    const std::vector<uint8_t>& played() const { return played_; }
    void clearPlayed() { played_.clear(); }
    // calls(): "query <id> <rate>", "open <id> <rate>", "write <length>", "pause",
    // "restart", "reset", "rate <16.16 value>", "close".
    bool paused() const { return paused_; }
    uint32_t playbackRate() const { return rate_; }
    size_t queued() const { return queue_.size(); }
    // The buffer playing now (the oldest one queued), or null.
    const WaveBuffer* playing() const { return queue_.empty() ? nullptr : queue_.front(); }

  private:
    void play(uint64_t frames);
    void returnAll();
    void finishFront(bool sounded);

    bool paused_ = false;
    uint32_t rate_ = kNormalRate;
    std::deque<WaveBuffer*> queue_;
    uint32_t offset_ = 0;  // bytes of the front buffer played
    bool playing_ = false;
    bool starved_ = false;
    uint32_t underflows_ = 0;
    uint64_t nowMs_ = 0;
    std::vector<uint8_t> played_;
};

}  // namespace murmelix
