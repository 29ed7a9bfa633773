#include "device/pcm_codec.h"

#include <algorithm>
#include <cmath>

namespace murmelix {

namespace {

constexpr float kScale16 = 32768.0f;
constexpr float kScale8 = 128.0f;

int16_t toSample16(float value) {
    const float scaled = std::nearbyint(value * kScale16);
    return static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

uint8_t toSample8(float value) {
    const float scaled = std::nearbyint(value * kScale8) + 128.0f;
    return static_cast<uint8_t>(std::clamp(scaled, 0.0f, 255.0f));
}

}  // namespace

void PcmCodec::decode(const uint8_t* bytes, size_t frames, int channels, int bits, float* out) {
    const size_t count = frames * static_cast<size_t>(channels);
    if (bits == 8) {
        for (size_t i = 0; i < count; ++i) {
            out[i] = (static_cast<float>(bytes[i]) - 128.0f) / kScale8;
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        const auto sample = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        out[i] = static_cast<float>(sample) / kScale16;
    }
}

void PcmCodec::encode(const float* in, size_t frames, int channels, int bits, uint8_t* out) {
    const size_t count = frames * static_cast<size_t>(channels);
    if (bits == 8) {
        for (size_t i = 0; i < count; ++i) {
            out[i] = toSample8(in[i]);
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        const auto sample = static_cast<uint16_t>(toSample16(in[i]));
        out[2 * i] = static_cast<uint8_t>(sample & 0xFF);
        out[2 * i + 1] = static_cast<uint8_t>(sample >> 8);
    }
}

void PcmCodec::mapChannels(const float* in, size_t frames, int inChannels, float* out,
                           int outChannels) {
    const auto inStep = static_cast<size_t>(inChannels);
    const auto outStep = static_cast<size_t>(outChannels);
    if (inChannels == outChannels) {
        std::copy_n(in, frames * inStep, out);
        return;
    }
    for (size_t f = 0; f < frames; ++f) {
        const float* from = in + f * inStep;
        float* to = out + f * outStep;
        if (inChannels == 1) {
            std::fill_n(to, outStep, from[0]);
        } else if (outChannels == 1) {
            float sum = 0.0f;
            for (size_t c = 0; c < inStep; ++c) {
                sum += from[c];
            }
            to[0] = sum / static_cast<float>(inChannels);
        } else {
            const size_t shared = std::min(inStep, outStep);
            std::copy_n(from, shared, to);
            std::fill(to + shared, to + outStep, 0.0f);
        }
    }
}

}  // namespace murmelix
