#include "device/input_capturer.h"

#include <algorithm>

#include "device/pcm_codec.h"

namespace murmelix {

InputCapturer::InputCapturer(DoneQueue& done, size_t capacity) : done_(done), queued_(capacity) {}

bool InputCapturer::configure(const WaveFormat& format, double streamRate, int streamChannels) {
    channels_ = format.channels;
    bits_ = format.bitsPerSample;
    blockAlign_ = static_cast<uint32_t>(format.channels * format.bitsPerSample / 8);
    streamChannels_ = streamChannels;
    ratio_ = static_cast<double>(format.samplesPerSec) / streamRate;
    // Recording at the stream's own rate keeps the samples exactly as they arrived.
    passThrough_ = format.samplesPerSec == static_cast<uint32_t>(streamRate) &&
                   static_cast<double>(format.samplesPerSec) == streamRate;
    silence_.assign(kChunkFrames * static_cast<size_t>(streamChannels_), 0.0f);
    mapped_.assign(kChunkFrames * static_cast<size_t>(channels_), 0.0f);
    converted_.assign(kConvertFrames * static_cast<size_t>(channels_), 0.0f);
    current_ = nullptr;
    overrun_.store(0, std::memory_order_release);
    return resampler_.open(channels_);
}

void InputCapturer::submit(WaveBuffer* buffer) {
    buffer->done = false;
    buffer->bytesRecorded = 0;
    queued_.push(buffer);
}

void InputCapturer::returnAllNow() {
    if (current_ != nullptr) {
        finishCurrent();
    }
    WaveBuffer* buffer = nullptr;
    while (queued_.pop(buffer)) {
        done_.push(buffer);
    }
    resampler_.reset();
}

void InputCapturer::capture(const float* in, size_t frames) {
    const auto streamStep = static_cast<size_t>(streamChannels_);
    const auto step = static_cast<size_t>(channels_);
    for (size_t start = 0; start < frames;) {
        const size_t count = std::min(kChunkFrames, frames - start);
        const float* from = in != nullptr ? in + start * streamStep : silence_.data();
        PcmCodec::mapChannels(from, count, streamChannels_, mapped_.data(), channels_);
        if (passThrough_) {
            deliver(mapped_.data(), count);
        } else {
            size_t used = 0;
            while (used < count) {
                const Resampler::Result result = resampler_.process(
                    mapped_.data() + used * step, static_cast<long>(count - used),
                    converted_.data(), static_cast<long>(kConvertFrames), ratio_, false);
                if (result.used == 0 && result.generated == 0) {
                    break;
                }
                used += static_cast<size_t>(result.used);
                deliver(converted_.data(), static_cast<size_t>(result.generated));
            }
        }
        start += count;
    }
}

void InputCapturer::deliver(const float* samples, size_t frames) {
    const auto step = static_cast<size_t>(channels_);
    while (frames > 0) {
        if (current_ == nullptr && !queued_.pop(current_)) {
            overrun_.fetch_add(frames, std::memory_order_acq_rel);
            return;
        }
        const uint32_t room = (current_->length - current_->bytesRecorded) / blockAlign_;
        if (room == 0) {
            finishCurrent();
            continue;
        }
        const size_t count = std::min<size_t>(room, frames);
        PcmCodec::encode(samples, count, channels_, bits_,
                         current_->recordData + current_->bytesRecorded);
        current_->bytesRecorded += static_cast<uint32_t>(count) * blockAlign_;
        samples += count * step;
        frames -= count;
        if (current_->length - current_->bytesRecorded < blockAlign_) {
            finishCurrent();
        }
    }
}

void InputCapturer::finishCurrent() {
    done_.push(current_);
    current_ = nullptr;
}

}  // namespace murmelix
