#include "device/resampler.h"

#include <samplerate.h>

#include <algorithm>

namespace murmelix {

namespace {

// libsamplerate's own limit is 256 either way; keep a margin for the glide between ratios.
constexpr double kMaxRatio = 128.0;

}  // namespace

Resampler::~Resampler() {
    close();
}

bool Resampler::open(int channels) {
    close();
    int error = 0;
    state_ = src_new(SRC_SINC_FASTEST, channels, &error);
    return state_ != nullptr;
}

void Resampler::close() {
    if (state_ != nullptr) {
        src_delete(state_);
        state_ = nullptr;
    }
}

void Resampler::reset() {
    if (state_ != nullptr) {
        src_reset(state_);
    }
}

Resampler::Result Resampler::process(const float* in, long inFrames, float* out, long outFrames,
                                     double ratio, bool endOfInput) {
    SRC_DATA data{};
    data.data_in = in;
    data.data_out = out;
    data.input_frames = inFrames;
    data.output_frames = outFrames;
    data.end_of_input = endOfInput ? 1 : 0;
    data.src_ratio = limitRatio(ratio);
    if (src_process(state_, &data) != 0) {
        return {};
    }
    return {data.input_frames_used, data.output_frames_gen};
}

bool Resampler::isUsableRatio(double ratio) {
    return ratio >= 1.0 / kMaxRatio && ratio <= kMaxRatio;
}

double Resampler::limitRatio(double ratio) {
    return std::clamp(ratio, 1.0 / kMaxRatio, kMaxRatio);
}

}  // namespace murmelix
