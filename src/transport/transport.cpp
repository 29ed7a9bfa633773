#include "transport/transport.h"

#include <algorithm>

#include "audio/audio_document.h"
#include "base/user_interface.h"
#include "random/random_number_log.h"
#include "random/random_source.h"
#include "session/session_workflow.h"
#include "synth/random_source_draw.h"
#include "transport/playback_speed.h"

namespace murmelix {

namespace {

constexpr const char* kWaveOutError = "Wave Out Error";

bool hasEntriesAhead(Session::SequenceList::const_iterator first,
                     Session::SequenceList::const_iterator end, int32_t count) {
    for (; first != end && count > 0; ++first, --count) {
        if (!first->entries.empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

Transport::Transport(Parts parts) : parts_(parts) {}

void Transport::SetTransportMode(TransportMode mode) {
    mode_ = mode;
    if (mode == TransportMode::tmIdle) {
        parts_.host.showSegmentSpan(0, 0);
    }
    parts_.host.applyTransportMode(mode);
}

// The number for the feedback window and the stretch for the waveform, at the same moment.
void Transport::announce(int32_t slotIndex) {
    const Synthesizer::Slot& slot = synth_.slot(slotIndex);
    parts_.host.showSegmentNumber(slot.user);
    parts_.host.showSegmentSpan(slot.firstFrame, slot.frames);
}

bool Transport::settled() const {
    return synth_.queuedCount() == 0 && !parts_.device.isOpen();
}

void Transport::showDeviceError(int code) {
    parts_.ui.messageBox(kWaveOutError, parts_.device.errorText(code), MessageIcon::Error,
                         MessageButtons::Ok);
}

void Transport::ApplySpeedToFormat() {
    AudioDocument& doc = parts_.document;
    doc.format.samplesPerSec = PlaybackSpeed::adjustedRate(doc.fileSampleRate, speedPercent_);
    openedPercent_ = speedPercent_;
}

bool Transport::OpenOutputDevice() {
    ApplySpeedToFormat();
    return openDevice(parts_.document.format);
}

bool Transport::openDevice(const WaveFormat& format) {
    int code = parts_.device.open(outputDeviceId, format, true);
    if (code == 0) {
        code = parts_.device.open(outputDeviceId, format, false);
    }
    if (code != 0) {
        showDeviceError(code);
        return false;
    }
    reportedStreamError_.clear();
    return true;
}

void Transport::writeCurrentSlot() {
    const Synthesizer::Slot& slot = synth_.slot(synth_.currentSlot());
    WaveBuffer& header = headers_[static_cast<size_t>(synth_.currentSlot())];
    header = WaveBuffer{};
    header.data = slot.data;
    header.length = slot.length;
    header.user = slot.user;
    if (parts_.device.write(&header) != 0) {
        synth_.bufferReturned();  // it never reached the device, so it will not come back
    }
}

void Transport::fillRandom() {
    RandomSourceDraw draw(parts_.source);
    const Synthesizer::RandomFillContext context{parts_.controls, selector_, draw, parts_.session};
    if (synth_.randomFill(parts_.document, context)) {
        writeCurrentSlot();
    }
}

void Transport::fillSession() {
    if (synth_.sessionFill(parts_.document)) {
        writeCurrentSlot();
    }
}

void Transport::PlayWavFile() {
    PlaySpan(0, parts_.document.frameCount);
}

void Transport::PlaySpan(int64_t firstFrame, int64_t frames) {
    const AudioDocument& doc = parts_.document;
    if (mode_ != TransportMode::tmIdle || !settled() || !doc.loaded) {
        return;
    }
    firstFrame = std::clamp<int64_t>(firstFrame, 0, doc.frameCount);
    frames = std::clamp<int64_t>(frames, 0, doc.frameCount - firstFrame);
    if (!OpenOutputDevice()) {
        return;
    }
    filePlayFirst_ = firstFrame;
    filePlayFrames_ = frames;
    playBuffer(doc, firstFrame, frames);
}

void Transport::PlaySound(const AudioDocument& sound) {
    if (mode_ != TransportMode::tmIdle || !settled() || !sound.loaded) {
        return;
    }
    WaveFormat format = sound.format;
    format.samplesPerSec = static_cast<uint32_t>(sound.fileSampleRate);
    openedPercent_ = 100;
    if (!openDevice(format)) {
        return;
    }
    // Not the document's frames: nothing of the document is shown as playing.
    filePlayFirst_ = 0;
    filePlayFrames_ = 0;
    playBuffer(sound, 0, sound.frameCount);
}

void Transport::playBuffer(const AudioDocument& doc, int64_t firstFrame, int64_t frames) {
    SetTransportMode(TransportMode::tmPlay);
    synth_.beginRandomRun();
    Synthesizer::Slot& slot = synth_.slot(0);
    slot.data = doc.data.data() + firstFrame * doc.frameSize;
    slot.length = static_cast<uint32_t>(frames * doc.frameSize);
    slot.user = -1;
    slot.firstFrame = static_cast<int32_t>(firstFrame);
    slot.frames = static_cast<int32_t>(frames);
    headers_[0] = WaveBuffer{};
    headers_[0].data = slot.data;
    headers_[0].length = slot.length;
    headers_[0].user = -1;
    const int code = parts_.device.write(&headers_[0]);
    if (code != 0) {
        showDeviceError(code);
        parts_.device.reset();
        parts_.device.close();
        SetTransportMode(TransportMode::tmIdle);
        return;
    }
    synth_.bufferQueued();
}

void Transport::MakeOqt() {
    if (mode_ != TransportMode::tmIdle || !settled() || !parts_.document.loaded) {
        return;
    }
    AudioDocument& doc = parts_.document;
    parts_.controls.deriveLengths(doc);
    if (!selector_.startRun(doc, parts_.controls, parts_.ui)) {
        return;
    }
    if (parts_.log.logging() && !parts_.log.OpenLogFile()) {
        return;
    }
    if (!OpenOutputDevice()) {
        // Nothing will be drawn for this start: do not leave its log file open.
        parts_.log.CloseLogFile();
        return;
    }
    SetTransportMode(TransportMode::tmRandomPlay);
    if (parts_.session.recordMode) {
        parts_.workflow.beginSequence();
        parts_.host.sessionChanged();
    }
    if (timedOqt) {
        parts_.host.startStopTimer(timedOqtSeconds * 1000);
    }
    parts_.source.beginRun();
    synth_.beginRandomRun();
    heardCount_ = 0;
    parts_.device.pause();
    for (int32_t slot = 0; slot < Synthesizer::kSlots; ++slot) {
        synth_.setCurrentSlot(slot);
        fillRandom();
        if (slot == 0) {
            announce(0);
        }
    }
    synth_.setCurrentSlot(0);
    parts_.device.restart();
}

void Transport::PlaySequences(Session::SequenceList::const_iterator first, int32_t count) {
    if (mode_ != TransportMode::tmIdle || !settled() || !parts_.document.loaded) {
        return;
    }
    // A sequence without entries has nothing to play; never open the device for nothing.
    if (!hasEntriesAhead(first, parts_.session.sequences().end(), count)) {
        return;
    }
    if (!OpenOutputDevice()) {
        return;
    }
    SetTransportMode(TransportMode::tmSessionPlay);
    synth_.beginSessionRun(parts_.session, first, count);
    parts_.device.pause();
    for (int32_t slot = 0; slot < Synthesizer::kSlots; ++slot) {
        synth_.setCurrentSlot(slot);
        fillSession();
        if (slot == 0) {
            announce(0);
        }
    }
    synth_.setCurrentSlot(0);
    parts_.device.restart();
}

void Transport::PauseContinue() {
    if (mode_ != TransportMode::tmPlay && mode_ != TransportMode::tmRandomPlay) {
        return;
    }
    if (paused_) {
        parts_.device.restart();
    } else {
        parts_.device.pause();
    }
    paused_ = !paused_;
    parts_.host.showPaused(paused_);
}

void Transport::StopPlayback() {
    if (mode_ == TransportMode::tmRecord) {
        mode_ = TransportMode::tmIdle;
        parts_.host.stopRecording();
        return;
    }
    mode_ = TransportMode::tmIdle;
    parts_.device.reset();
    parts_.host.showSegmentSpan(0, 0);
    if (paused_) {
        paused_ = false;
    }
    parts_.host.showPaused(false);
    parts_.host.stopStopTimer();
    if (parts_.log.logging()) {
        parts_.log.CloseLogFile();
    }
}

void Transport::StopSessionPlay() {
    if (mode_ != TransportMode::tmSessionPlay) {
        return;
    }
    mode_ = TransportMode::tmIdle;
    parts_.device.reset();
    parts_.host.showSegmentSpan(0, 0);
}

void Transport::SetPlaybackSpeed(int percent) {
    speedPercent_ = std::clamp(percent, 50, 200);
    if (mode_ == TransportMode::tmPlay || mode_ == TransportMode::tmRandomPlay ||
        mode_ == TransportMode::tmSessionPlay) {
        // The device runs at the rate it was opened with for the speed of that moment; the
        // speed heard must be the one the slider shows, not a product of both.
        const uint32_t rate = static_cast<uint32_t>(int64_t{speedPercent_} *
                                                    OutputDevice::kNormalRate / openedPercent_);
        parts_.device.setPlaybackRate(rate);
    }
}

void Transport::pumpDone() {
    std::vector<WaveBuffer*> done;
    parts_.device.pollDone(done);
    const std::string error = parts_.device.lastError();
    const bool newError = !error.empty() && error != reportedStreamError_;
    if (newError) {
        reportedStreamError_ = error;
        // The sound went away under us: stop as the Stop button would, so that the ring
        // drains and the program returns to idle with what it had.
        if (mode_ == TransportMode::tmPlay || mode_ == TransportMode::tmRandomPlay ||
            mode_ == TransportMode::tmSessionPlay) {
            StopPlayback();
        }
    }
    for (const WaveBuffer* buffer : done) {
        heardCount_ += buffer->sounded ? 1 : 0;
        WaveOutDone();
    }
    // Said once the window shows the idle state it is back in.
    if (newError) {
        parts_.ui.messageBox(kWaveOutError, error, MessageIcon::Error, MessageButtons::Ok);
    }
}

void Transport::WaveOutDone() {
    if (synth_.queuedCount() <= 0) {
        return;
    }
    synth_.bufferReturned();
    switch (mode_) {
        case TransportMode::tmRandomPlay:
            fillRandom();
            synth_.advance();
            announce(synth_.currentSlot());
            return;
        case TransportMode::tmSessionPlay:
            if (synth_.queuedCount() > 0) {
                fillSession();
                synth_.advance();
                announce(synth_.currentSlot());
            } else {
                parts_.device.close();
                synth_.freeMixedBlocks();
                SetTransportMode(TransportMode::tmIdle);
            }
            return;
        default:
            synth_.advance();
            if (synth_.queuedCount() == 0) {
                finishDrained();
            }
            return;
    }
}

void Transport::finishDrained() {
    parts_.device.close();
    synth_.freeMixedBlocks();
    SetTransportMode(TransportMode::tmIdle);
    if (parts_.session.recordingActive) {
        parts_.workflow.finishRecording(heardCount_);
        parts_.host.sessionChanged();
    }
}

}  // namespace murmelix
