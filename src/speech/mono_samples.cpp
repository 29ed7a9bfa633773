#include "speech/mono_samples.h"

namespace murmelix {

namespace {

template <int Bits>
void mix(const AudioDocument& doc, int64_t first, int64_t count, float* out) {
    constexpr float kScale = Bits == 8 ? 1.0f / 128.0f : 1.0f / 32768.0f;
    const SampleLayout layout = doc.layout();
    const uint8_t* left = doc.origin(0) + first * layout.frameSize;
    if (doc.channels() == 1) {
        for (int64_t i = 0; i < count; ++i) {
            out[i] = static_cast<float>(SampleLayout::decode<Bits>(left + i * layout.frameSize)) *
                     kScale;
        }
        return;
    }
    const uint8_t* right = doc.origin(1) + first * layout.frameSize;
    for (int64_t i = 0; i < count; ++i) {
        const int sum = SampleLayout::decode<Bits>(left + i * layout.frameSize) +
                        SampleLayout::decode<Bits>(right + i * layout.frameSize);
        out[i] = static_cast<float>(sum) * (0.5f * kScale);
    }
}

}  // namespace

void MonoSamples::read(const AudioDocument& doc, int64_t first, int64_t count, float* out) {
    if (doc.bitsPerSample() == 8) {
        mix<8>(doc, first, count, out);
    } else if (doc.bitsPerSample() == 16) {
        mix<16>(doc, first, count, out);
    } else {
        for (int64_t i = 0; i < count; ++i) {
            out[i] = 0.0f;
        }
    }
}

}  // namespace murmelix
