#pragma once

#include <deque>
#include <vector>

#include "audio/audio_document.h"
#include "synth/random_draw.h"

namespace murmelix::testing {

// Answers R(n) from a script and remembers every bound it was asked with.
class ScriptedDraw : public RandomDraw {
  public:
    explicit ScriptedDraw(std::deque<int32_t> numbers = {}) : numbers_(std::move(numbers)) {}
    int32_t next(int32_t bound) override {
        bounds.push_back(bound);
        if (numbers_.empty()) {
            return 0;
        }
        const int32_t n = numbers_.front();
        numbers_.pop_front();
        return n;
    }
    bool halted() const override { return halt; }
    std::vector<int32_t> bounds;
    bool halt = false;

  private:
    std::deque<int32_t> numbers_;
};

// A 16-bit document whose left channel holds the given samples (right = left * -1).
inline AudioDocument makeDocument(const std::vector<int>& left, int rate = 8000, int channels = 1,
                                  int bits = 16) {
    AudioDocument doc;
    doc.format = WaveFormat::pcm(static_cast<uint32_t>(rate), static_cast<uint16_t>(channels),
                                 static_cast<uint16_t>(bits));
    doc.data.assign(left.size() * static_cast<size_t>(channels * bits / 8), 0);
    doc.commit("test.wav");
    for (size_t i = 0; i < left.size(); ++i) {
        doc.write(0, static_cast<int64_t>(i), left[i]);
        if (channels == 2) {
            doc.write(1, static_cast<int64_t>(i), -left[i]);
        }
    }
    return doc;
}

inline AudioDocument makeSilentDocument(int frames, int rate = 8000) {
    return makeDocument(std::vector<int>(static_cast<size_t>(frames), 0), rate);
}

}  // namespace murmelix::testing
