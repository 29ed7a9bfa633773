#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace murmelix {

class AudioDocument;

// Builds a cross-faded copy of a segment: it rises linearly from silence while the frames
// that followed the previous cross-faded segment fall linearly underneath it. The tail is the
// state that links one cross-faded segment to the next.
class CrossFader {
  public:
    void clearTail() { tail_.reset(); }
    std::optional<int32_t> tail() const { return tail_; }

    // Fills `block` with n frames (n x frame size bytes) and moves the tail to start + n.
    // Frames outside the sample data count as silence.
    void crossFade(const AudioDocument& doc, int32_t start, int32_t n, std::vector<uint8_t>& block);

  private:
    std::optional<int32_t> tail_;
};

}  // namespace murmelix
