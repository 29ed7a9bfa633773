#include "synth/cross_fader.h"

#include "audio/audio_document.h"

namespace murmelix {

namespace {

int sampleOrSilence(const AudioDocument& doc, int channel, int64_t frame) {
    return frame >= 0 && frame < doc.frameCount ? doc.read(channel, frame) : 0;
}

}  // namespace

void CrossFader::crossFade(const AudioDocument& doc, int32_t start, int32_t n,
                           std::vector<uint8_t>& block) {
    const SampleLayout layout = doc.layout();
    block.assign(static_cast<size_t>(n > 0 ? n : 0) * static_cast<size_t>(doc.frameSize), 0);
    const int channels = doc.channels();
    for (int32_t i = 0; i < n; ++i) {
        // A single frame has no ramp; it plays at full level.
        const double w = n > 1 ? static_cast<double>(i) / (n - 1) : 1.0;
        const double u = 1.0 - w;
        for (int channel = 0; channel < channels; ++channel) {
            int value = static_cast<int>(w * sampleOrSilence(doc, channel, int64_t{start} + i));
            if (tail_) {
                value += static_cast<int>(u * sampleOrSilence(doc, channel, int64_t{*tail_} + i));
            }
            layout.write(layout.origin(block.data(), channel), i, value);
        }
    }
    tail_ = start + n;
}

}  // namespace murmelix
