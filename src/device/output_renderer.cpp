#include "device/output_renderer.h"

#include <algorithm>

#include "device/pcm_codec.h"

namespace murmelix {

OutputRenderer::OutputRenderer(DoneQueue& done, size_t capacity)
    : done_(done), queued_(capacity), timeline_(capacity) {}

bool OutputRenderer::configure(const WaveFormat& format, double streamRate, int streamChannels) {
    inChannels_ = format.channels;
    bits_ = format.bitsPerSample;
    blockAlign_ = static_cast<uint32_t>(format.channels * format.bitsPerSample / 8);
    baseRatio_ = streamRate / static_cast<double>(format.samplesPerSec);
    streamChannels_ = streamChannels;
    streamRate_ = streamRate;
    staged_.assign(kChunkFrames * static_cast<size_t>(inChannels_), 0.0f);
    converted_.assign(kConvertFrames * static_cast<size_t>(inChannels_), 0.0f);
    current_ = nullptr;
    offset_ = 0;
    stagedFrames_ = stagedUsed_ = 0;
    fed_ = flushing_ = playing_ = starved_ = false;
    fedInput_ = emitted_ = 0;
    timeline_.releaseAll(0, done_);
    framesClock_ = 0;
    paused_.store(false, std::memory_order_release);
    rate_.store(0x10000, std::memory_order_release);
    underflows_.store(0, std::memory_order_release);
    resetServed_.store(resetWanted_.load(std::memory_order_acquire), std::memory_order_release);
    return resampler_.open(inChannels_);
}

void OutputRenderer::submit(WaveBuffer* buffer) {
    buffer->done = false;
    queued_.push(buffer);
}

uint64_t OutputRenderer::requestReset() {
    return resetWanted_.fetch_add(1, std::memory_order_acq_rel) + 1;
}

bool OutputRenderer::resetServed(uint64_t ticket) const {
    return resetServed_.load(std::memory_order_acquire) >= ticket;
}

void OutputRenderer::returnAllNow() {
    returnAllNow(clock_.now);
}

void OutputRenderer::returnAllNow(double now) {
    returnAll(now);
    resetServed_.store(resetWanted_.load(std::memory_order_acquire), std::memory_order_release);
}

void OutputRenderer::noteSystemUnderflow() {
    if (playing_ && !paused_.load(std::memory_order_relaxed)) {
        countGap();
    }
}

void OutputRenderer::render(float* out, size_t frames) {
    render(out, frames, {framesClock_, framesClock_});
    framesClock_ += static_cast<double>(frames) / streamRate_;
}

void OutputRenderer::render(float* out, size_t frames, Clock clock) {
    clock_ = clock;
    serviceReset();
    // What was rendered before a pause still comes out; its buffers come back when heard.
    timeline_.releaseHeard(clock.now, done_);
    if (paused_.load(std::memory_order_acquire) || !resampler_.isOpen()) {
        silence(out, frames);
        return;
    }
    const double ratio = currentRatio();
    const auto channels = static_cast<size_t>(streamChannels_);
    size_t produced = 0;
    while (produced < frames) {
        float* to = out + produced * channels;
        const size_t wanted = frames - produced;
        if (!flushing_ && stagedUsed_ == stagedFrames_ && !stageNextChunk()) {
            if (!fed_) {
                timeline_.reachAll(heardAt(produced));  // empty buffers end where they stand
                starve();
                break;
            }
            // Nothing more to play for now: let the converter give out what it holds back,
            // so the end of the last buffer is heard too.
            flushing_ = true;
        }
        const Step step = flushing_ ? flushTail(to, wanted, ratio) : convert(to, wanted, ratio);
        reached(produced, step.frames, ratio);
        if (flushing_ && step.frames == 0) {
            // The converter has given out everything it was fed.
            timeline_.reachAll(heardAt(produced));
            flushing_ = false;
            fed_ = false;
            fedInput_ = emitted_ = 0;
            resampler_.reset();
            continue;
        }
        if (!step.progress) {
            break;  // the converter refused; play silence rather than spin
        }
        produced += step.frames;
    }
    silence(out + produced * channels, frames - produced);
}

void OutputRenderer::serviceReset() {
    const uint64_t wanted = resetWanted_.load(std::memory_order_acquire);
    if (wanted == resetServed_.load(std::memory_order_relaxed)) {
        return;
    }
    returnAll(clock_.now);
    resetServed_.store(wanted, std::memory_order_release);
}

void OutputRenderer::returnAll(double now) {
    timeline_.releaseAll(now, done_);
    current_ = nullptr;
    offset_ = 0;
    WaveBuffer* buffer = nullptr;
    while (queued_.pop(buffer)) {
        buffer->sounded = false;
        done_.push(buffer);
    }
    stagedFrames_ = stagedUsed_ = 0;
    fed_ = flushing_ = playing_ = starved_ = false;
    fedInput_ = emitted_ = 0;
    resampler_.reset();
}

bool OutputRenderer::stageNextChunk() {
    for (;;) {
        if (current_ == nullptr) {
            if (!queued_.pop(current_)) {
                return false;
            }
            if (!timeline_.begin(current_, fedInput_)) {
                current_->sounded = false;  // never with the owner's bound on buffers out
                done_.push(current_);
                current_ = nullptr;
                continue;
            }
            offset_ = 0;
            if (starved_) {
                countGap();
                starved_ = false;
            }
            playing_ = true;
        }
        const uint32_t framesLeft = (current_->length - offset_) / blockAlign_;
        if (framesLeft == 0) {
            finishCurrent();
            continue;
        }
        const size_t frames = std::min<size_t>(framesLeft, kChunkFrames);
        PcmCodec::decode(current_->data + offset_, frames, inChannels_, bits_, staged_.data());
        offset_ += static_cast<uint32_t>(frames) * blockAlign_;
        fedInput_ += static_cast<double>(frames);
        stagedFrames_ = frames;
        stagedUsed_ = 0;
        if (current_->length - offset_ < blockAlign_) {
            finishCurrent();
        }
        return true;
    }
}

void OutputRenderer::finishCurrent() {
    timeline_.end(fedInput_);
    current_ = nullptr;
    offset_ = 0;
}

void OutputRenderer::reached(size_t offset, size_t generated, double ratio) {
    const double from = emitted_;
    emitted_ += static_cast<double>(generated) / ratio;
    timeline_.reach(from, emitted_, heardAt(offset), ratio / streamRate_);
}

double OutputRenderer::heardAt(size_t offset) const {
    return clock_.firstFrameHeard + static_cast<double>(offset) / streamRate_;
}

OutputRenderer::Step OutputRenderer::convert(float* out, size_t frames, double ratio) {
    const auto channels = static_cast<size_t>(inChannels_);
    const Resampler::Result result = resampler_.process(
        staged_.data() + stagedUsed_ * channels, static_cast<long>(stagedFrames_ - stagedUsed_),
        converted_.data(), static_cast<long>(std::min(frames, kConvertFrames)), ratio, false);
    stagedUsed_ += static_cast<size_t>(result.used);
    fed_ = fed_ || result.used > 0;
    const auto generated = static_cast<size_t>(result.generated);
    PcmCodec::mapChannels(converted_.data(), generated, inChannels_, out, streamChannels_);
    return {generated, result.used > 0 || result.generated > 0};
}

OutputRenderer::Step OutputRenderer::flushTail(float* out, size_t frames, double ratio) {
    // The staged block serves only as a valid input pointer; no input frames are passed.
    const Resampler::Result result =
        resampler_.process(staged_.data(), 0, converted_.data(),
                           static_cast<long>(std::min(frames, kConvertFrames)), ratio, true);
    const auto generated = static_cast<size_t>(result.generated);
    PcmCodec::mapChannels(converted_.data(), generated, inChannels_, out, streamChannels_);
    return {generated, generated > 0};
}

void OutputRenderer::starve() {
    if (playing_) {
        starved_ = true;
    }
}

void OutputRenderer::countGap() {
    underflows_.fetch_add(1, std::memory_order_acq_rel);
}

double OutputRenderer::currentRatio() const {
    const double speed = static_cast<double>(rate_.load(std::memory_order_acquire)) / 65536.0;
    return Resampler::limitRatio(baseRatio_ / speed);
}

void OutputRenderer::silence(float* out, size_t frames) const {
    std::fill_n(out, frames * static_cast<size_t>(streamChannels_), 0.0f);
}

}  // namespace murmelix
