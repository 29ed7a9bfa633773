#pragma once

#include <algorithm>
#include <chrono>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "random/noise_input.h"

namespace murmelix::testing {

// A sound-card input that plays back recordings the test queued, refuses the sample rates
// it is told to, and keeps a trace of the calls made.
class ScriptedNoiseInput : public NoiseInput {
  public:
    struct Take {
        std::vector<int16_t> samples;
        bool timedOut = false;
    };

    std::set<uint32_t> refusedRates;
    std::string startError;
    std::deque<Take> takes;

    std::vector<std::string> calls;  // "query 44100", "start 44100", "wait", "finish"
    std::vector<int> devices;
    std::vector<WaveFormat> formats;
    std::vector<size_t> bufferSizes;
    std::vector<std::chrono::milliseconds> timeLimits;

    std::string queryFormat(int device, const WaveFormat& format) override {
        record("query", device, format);
        return refusedRates.count(format.samplesPerSec)
                   ? "refused " + std::to_string(format.samplesPerSec)
                   : std::string();
    }

    std::string start(int device, const WaveFormat& format, std::span<int16_t> buffer) override {
        record("start", device, format);
        buffer_ = buffer;
        bufferSizes.push_back(buffer.size());
        return startError;
    }

    Recorded wait(std::chrono::milliseconds timeLimit) override {
        calls.push_back("wait");
        timeLimits.push_back(timeLimit);
        if (takes.empty()) {
            return {0, true};
        }
        Take take = std::move(takes.front());
        takes.pop_front();
        const size_t count = std::min(take.samples.size(), buffer_.size());
        std::copy_n(take.samples.begin(), count, buffer_.begin());
        return {static_cast<int32_t>(count), take.timedOut};
    }

    void finish() override { calls.push_back("finish"); }

  private:
    void record(const char* what, int device, const WaveFormat& format) {
        calls.push_back(std::string(what) + " " + std::to_string(format.samplesPerSec));
        devices.push_back(device);
        formats.push_back(format);
    }

    std::span<int16_t> buffer_;
};

}  // namespace murmelix::testing
