#include "audio/signal_effects.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace murmelix {

namespace {

// The samples of every channel lie interleaved, frame after frame, with frame size =
// channels x sample bytes. Walking sample j of that array in ascending order visits frame
// j / channels, channel j % channels in exactly the order of a frame loop that handles
// left before right, so the per-channel algorithms below run over the flat array.
template <int Bits>
struct Width {
    static constexpr size_t kBytes = Bits / 8;
    static constexpr int kMin = -(1 << (Bits - 1));
    static constexpr int kMax = (1 << (Bits - 1)) - 1;

    static int get(const uint8_t* samples, size_t j) {
        return SampleLayout::decode<Bits>(samples + j * kBytes);
    }
    static void put(uint8_t* samples, size_t j, int value) {
        SampleLayout::encode<Bits>(samples + j * kBytes, value);
    }
};

// Frames the effects may touch: none unless the document has the interleaved 8/16-bit
// layout that read/write understand, and never more than the sample data holds.
size_t usableFrames(const AudioDocument& doc) {
    const int bits = doc.bitsPerSample();
    const int channels = doc.channels();
    if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2) ||
        doc.frameSize != channels * (bits / 8) || doc.frameCount <= 0) {
        return 0;
    }
    return std::min(static_cast<size_t>(doc.frameCount),
                    doc.data.size() / static_cast<size_t>(doc.frameSize));
}

// Swapping whole frames is swapping left with left and right with right; the stored bytes
// of a sample are exactly what read/write would carry over.
template <size_t FrameBytes>
void swapFrames(uint8_t* first, uint8_t* last, size_t pairs) {
    for (size_t i = 0; i < pairs; ++i) {
        uint8_t* a = first + i * FrameBytes;
        uint8_t* b = last - i * FrameBytes;
        uint8_t held[FrameBytes];
        std::memcpy(held, a, FrameBytes);
        std::memcpy(a, b, FrameBytes);
        std::memcpy(b, held, FrameBytes);
    }
}

// s(j) += s(j - distance) * decay / 100 for j = distance .. count - 1 in ascending order.
// Samples closer than distance to each other do not depend on each other, so the work goes
// in blocks of at most distance samples: inside a block nothing read is written, which
// lets the compiler vectorise the loop.
template <int Bits>
void echoBlock(uint8_t* __restrict out, const uint8_t* __restrict earlier, size_t n, int decay) {
    using W = Width<Bits>;
    for (size_t j = 0; j < n; ++j) {
        const int v = W::get(out, j) + W::get(earlier, j) * decay / 100;
        W::put(out, j, std::clamp(v, W::kMin, W::kMax));
    }
}

template <int Bits>
void echoSamples(uint8_t* samples, size_t count, size_t distance, int decay) {
    using W = Width<Bits>;
    if (distance == 0) {
        // Every sample is its own echo: s + s * decay / 100.
        for (size_t j = 0; j < count; ++j) {
            const int s = W::get(samples, j);
            W::put(samples, j, std::clamp(s + s * decay / 100, W::kMin, W::kMax));
        }
        return;
    }
    for (size_t j = distance; j < count; j += distance) {
        const size_t n = std::min(distance, count - j);
        echoBlock<Bits>(samples + j * W::kBytes, samples + (j - distance) * W::kBytes, n, decay);
    }
}

template <int Bits>
void minMax(const uint8_t* samples, size_t count, int& lowest, int& highest) {
    using W = Width<Bits>;
    int lo = W::get(samples, 0);
    int hi = lo;
    for (size_t j = 1; j < count; ++j) {
        const int s = W::get(samples, j);
        lo = std::min(lo, s);
        hi = std::max(hi, s);
    }
    lowest = lo;
    highest = hi;
}

// s := s * target / peak, truncating toward zero. A division per sample is slow, and only
// highest - lowest + 1 values occur, so long signals look the results up in a table built
// with the same division.
template <int Bits>
void scaleSamples(uint8_t* samples, size_t count, int lowest, int highest, int target, int peak) {
    using W = Width<Bits>;
    const auto range = static_cast<size_t>(highest - lowest) + 1;
    if (count < range) {
        for (size_t j = 0; j < count; ++j) {
            W::put(samples, j, W::get(samples, j) * target / peak);
        }
        return;
    }
    std::vector<int> scaled(range);
    for (size_t k = 0; k < range; ++k) {
        scaled[k] = (lowest + static_cast<int>(k)) * target / peak;
    }
    for (size_t j = 0; j < count; ++j) {
        W::put(samples, j, scaled[static_cast<size_t>(W::get(samples, j) - lowest)]);
    }
}

template <int Bits>
bool normalizeSamples(uint8_t* samples, size_t count) {
    if (count == 0) {
        return false;
    }
    int lowest = 0;
    int highest = 0;
    minMax<Bits>(samples, count, lowest, highest);
    const int peak = highest > -lowest ? highest : -lowest;
    if (peak == 0) {
        return false;
    }
    const int target = (1 << Bits) / 2 - 1;
    scaleSamples<Bits>(samples, count, lowest, highest, target, peak);
    return true;
}

}  // namespace

void SignalEffects::reverse(AudioDocument& doc) {
    doc.changed = true;
    const size_t frames = usableFrames(doc);
    if (frames < 2) {
        return;
    }
    uint8_t* first = doc.data.data();
    uint8_t* last = first + doc.data.size() - static_cast<size_t>(doc.frameSize);
    const size_t pairs = frames / 2;
    switch (doc.frameSize) {
        case 1:
            swapFrames<1>(first, last, pairs);
            break;
        case 2:
            swapFrames<2>(first, last, pairs);
            break;
        case 4:
            swapFrames<4>(first, last, pairs);
            break;
        default:
            break;
    }
}

void SignalEffects::echo(AudioDocument& doc, int delayMs, int decayPercent) {
    doc.changed = true;
    const size_t frames = usableFrames(doc);
    if (frames == 0) {
        return;
    }
    const size_t count = frames * static_cast<size_t>(doc.channels());
    const int64_t delay = std::clamp(delayMs, 0, kMaxEchoDelayMs);
    const int decay = std::clamp(decayPercent, 0, kMaxEchoDecayPercent);
    // A rate that does not fit the signed field reads as negative: no usable delay.
    const int64_t d = std::clamp<int64_t>(int64_t{doc.fileSampleRate} * delay / 1000, 0,
                                          static_cast<int64_t>(frames));
    const size_t distance = static_cast<size_t>(d) * static_cast<size_t>(doc.channels());
    if (doc.bitsPerSample() == 8) {
        echoSamples<8>(doc.data.data(), count, distance, decay);
    } else {
        echoSamples<16>(doc.data.data(), count, distance, decay);
    }
}

bool SignalEffects::normalize(AudioDocument& doc) {
    const size_t count = usableFrames(doc) * static_cast<size_t>(doc.channels());
    const bool scaled = doc.bitsPerSample() == 8 ? normalizeSamples<8>(doc.data.data(), count)
                                                 : normalizeSamples<16>(doc.data.data(), count);
    if (scaled) {
        doc.changed = true;
    }
    return scaled;
}

}  // namespace murmelix
