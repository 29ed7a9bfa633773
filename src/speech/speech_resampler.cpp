#include "speech/speech_resampler.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>

#include "base/text_format.h"
#include "speech/mono_samples.h"

namespace murmelix {

namespace {

int16_t toSample(float value) {
    const float scaled = std::round(value * 32768.0f);
    return static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace

SpeechResampler::SpeechResampler(const AudioDocument& doc, int64_t first, int64_t frames)
    : doc_(doc),
      first_(std::clamp<int64_t>(first, 0, doc.frameCount)),
      frames_(std::clamp<int64_t>(frames, 0, doc.frameCount - first_)),
      in_(static_cast<size_t>(kBlockFrames)) {
    if (doc.fileSampleRate > 0 && doc.fileSampleRate != kRate) {
        ratio_ = static_cast<double>(kRate) / doc.fileSampleRate;
        int error = 0;
        // The fastest sinc converter leaves enough aliasing in the band the recogniser
        // looks at to make it lose its way; the medium one is still far ahead of it.
        state_ = src_new(SRC_SINC_MEDIUM_QUALITY, 1, &error);
    }
    converted_.resize(static_cast<size_t>(std::ceil(kBlockFrames * ratio_)) + 64);
}

SpeechResampler::~SpeechResampler() {
    if (state_ != nullptr) {
        src_delete(state_);
    }
}

Result SpeechResampler::next(std::vector<int16_t>& out, bool& more) {
    out.clear();
    const int64_t count = std::min<int64_t>(kBlockFrames, frames_ - done_);
    MonoSamples::read(doc_, first_ + done_, count, in_.data());
    done_ += count;
    const bool last = done_ >= frames_;
    if (ratio_ == 1.0) {
        for (int64_t i = 0; i < count; ++i) {
            out.push_back(toSample(in_[static_cast<size_t>(i)]));
        }
        more = !last;
        return Result::success();
    }
    if (state_ == nullptr) {
        return Result::failure("The sample rate converter could not be started.");
    }
    SRC_DATA data{};
    data.data_in = in_.data();
    data.input_frames = static_cast<long>(count);
    data.src_ratio = ratio_;
    data.end_of_input = last ? 1 : 0;
    // A block's output can come out in more than one piece; the tail after the end of input
    // likewise.
    while (true) {
        data.data_out = converted_.data();
        data.output_frames = static_cast<long>(converted_.size());
        if (const int error = src_process(state_, &data); error != 0) {
            return Result::failure(
                formatText("The sample rate conversion failed: %s.", src_strerror(error)));
        }
        for (long i = 0; i < data.output_frames_gen; ++i) {
            out.push_back(toSample(converted_[static_cast<size_t>(i)]));
        }
        data.data_in += data.input_frames_used;
        data.input_frames -= data.input_frames_used;
        if (data.input_frames == 0 && (!last || data.output_frames_gen == 0)) {
            break;
        }
    }
    more = !last;
    return Result::success();
}

}  // namespace murmelix
