#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "device/frame_clock.h"
#include "device/input_device.h"
#include "device/simulated_device.h"

namespace murmelix {

// An input device on a virtual clock, for tests: while started, advance() (or waitDone(),
// which lets time pass until something is done) records that much time at the opened rate
// into the added buffers, which come back in order when full. The samples come from a script
// (bytes in the opened format, played once or looped), then silence. Every call is written
// to calls(); failures can be scripted.
class SimulatedInputDevice final : public SimulatedDevice<InputDevice> {
  public:
    int open(int deviceId, const WaveFormat& format, bool queryOnly) override;
    int addBuffer(WaveBuffer* buffer) override;
    int start() override;
    int reset() override;
    int close() override;
    uint64_t overrunFrames() const override { return overrun_; }
    bool waitDone(std::chrono::milliseconds timeout) override;

    // Script (and the opens' script of SimulatedDevice).
    // What the device hears, in the opened format; after the end silence, unless looped.
    void setSource(std::vector<uint8_t> bytes, bool loop = false);
    // The stream dies: every buffer comes back with what it holds, lastError() tells why.
    void die(std::string details = {});

    // Time.
    void advance(uint64_t ms);
    uint64_t nowMs() const { return nowMs_; }

    // What happened; calls(): "query <id> <rate>", "open <id> <rate>", "add <length>",
    // "start", "reset", "close".
    bool started() const { return started_; }
    size_t queued() const { return queue_.size(); }

  private:
    void record(uint64_t frames);
    uint8_t nextByte();
    void returnAll();

    bool started_ = false;

    std::vector<uint8_t> source_;
    bool loop_ = false;
    size_t sourcePos_ = 0;

    std::deque<WaveBuffer*> queue_;
    uint64_t overrun_ = 0;
    uint64_t nowMs_ = 0;
};

}  // namespace murmelix
