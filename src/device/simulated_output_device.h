#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "device/frame_clock.h"
#include "device/output_device.h"
#include "device/simulated_open_script.h"

namespace murmelix {

// An output device on a virtual clock, for tests: nothing plays until the test lets time
// pass with advance() (or waitDone(), which lets it pass until something is done). Buffers
// are consumed at the opened rate times the playback rate, and come back in order as done
// events; the exact bytes consumed are kept in played(). Every call is written to calls(),
// so a test can check the order of operations; failures can be scripted.
class SimulatedOutputDevice final : public OutputDevice {
  public:
    int open(int deviceId, const WaveFormat& format, bool queryOnly) override;
    int write(WaveBuffer* buffer) override;
    int pause() override;
    int restart() override;
    int reset() override;
    int setPlaybackRate(uint32_t rate) override;
    int close() override;
    bool isOpen() const override { return open_; }
    uint32_t underflowCount() const override { return underflows_; }
    bool waitDone(std::chrono::milliseconds timeout) override;

    // Script.
    // Valid ids are 0 to count - 1 (and -1); 1 device by default, 0 makes every open fail.
    void setDeviceCount(int count) { script_.setDeviceCount(count); }
    // The next open with this queryOnly value fails with code (and details for errorText).
    void failNextOpen(bool queryOnly, int code, std::string details = {});
    // The stream dies as when the sound server quits: every buffer comes back, lastError()
    // tells why, and writes are refused until the next open.
    void die(std::string details = {});

    // Time.
    void advance(uint64_t ms);
    uint64_t nowMs() const { return nowMs_; }

    // What happened.
    const std::vector<uint8_t>& played() const { return played_; }
    void clearPlayed() { played_.clear(); }
    // "query <id> <rate>", "open <id> <rate>", "write <length>", "pause", "restart", "reset",
    // "rate <16.16 value>", "close".
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    const WaveFormat& format() const { return format_; }
    int deviceId() const { return deviceId_; }
    bool paused() const { return paused_; }
    uint32_t playbackRate() const { return rate_; }
    size_t queued() const { return queue_.size(); }
    // The buffer playing now (the oldest one queued), or null.
    const WaveBuffer* playing() const { return queue_.empty() ? nullptr : queue_.front(); }

  private:
    int checkOpen(int deviceId, const WaveFormat& format, bool queryOnly);
    void play(uint64_t frames);
    void returnAll();
    void finishFront(bool sounded);

    bool open_ = false;
    bool dead_ = false;
    SimulatedOpenScript script_;

    WaveFormat format_;
    int deviceId_ = -1;
    bool paused_ = false;
    uint32_t rate_ = kNormalRate;
    std::deque<WaveBuffer*> queue_;
    uint32_t offset_ = 0;  // bytes of the front buffer played
    bool playing_ = false;
    bool starved_ = false;
    uint32_t underflows_ = 0;
    FrameClock clock_;
    uint64_t nowMs_ = 0;
    std::vector<uint8_t> played_;
    std::vector<std::string> calls_;
};

}  // namespace murmelix
