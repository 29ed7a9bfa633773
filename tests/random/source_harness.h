#pragma once

#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "random/random_source.h"
#include "random/scripted_noise_input.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"

namespace murmelix::testing {

// Hands what a source tells its listener to the test: each log text (kept in `logged`
// unless `onLog` takes it) and the halt.
struct ListenerHarness : RandomSourceListener {
    std::vector<std::string> logged;
    std::function<void(std::string_view)> onLog;
    std::function<void()> onHalt;

    void drawLogged(std::string_view text) override {
        if (onLog) {
            onLog(text);
        } else {
            logged.emplace_back(text);
        }
    }
    void sourceHalted() override {
        if (onHalt) {
            onHalt();
        }
    }
};

// A random source wired to a scripted user interface and input, keeping every log text.
struct SourceHarness : ListenerHarness {
    ScriptedUserInterface ui;
    ScriptedNoiseInput input;
    RandomSource source{ui, input, this};

    std::vector<int32_t> draw(int count, int32_t bound) {
        std::vector<int32_t> numbers;
        for (int i = 0; i < count; ++i) {
            numbers.push_back(source.NextRandomNumber(bound));
        }
        return numbers;
    }
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Little-endian 16-bit samples, as a raw random source file holds them.
inline std::string rawSamples(const std::vector<int16_t>& samples) {
    std::string bytes;
    for (const int16_t sample : samples) {
        const auto value = static_cast<uint16_t>(sample);
        bytes.push_back(static_cast<char>(value & 0xFF));
        bytes.push_back(static_cast<char>(value >> 8));
    }
    return bytes;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Samples that go up and down in turn, beginning with a rise from 0: a comparison draw over
// the first 31 gives the bits 1010...1, that is 0x55555555.
inline std::vector<int16_t> alternatingSamples(size_t count) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<int16_t>(i % 2 == 0 ? 100 : -100);
    }
    return samples;
}

}  // namespace murmelix::testing
