#include "transport/recorder.h"

#include <charconv>
#include <new>

#include "audio/audio_document.h"
#include "audio/signal_effects.h"
#include "base/text_format.h"
#include "transport/transport.h"

namespace murmelix {

namespace {

bool parseRate(const std::string& text, uint32_t& rate) {
    // Read as an integer, as the dialog's text is taken: leading blanks and a sign allowed.
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return false;
    }
    int64_t value = 0;
    const char* first = text.data() + begin + (text[begin] == '+' ? 1 : 0);
    const char* last = text.data() + text.find_last_not_of(' ') + 1;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || value <= 0 || value > 0x7FFFFFFF) {
        return false;
    }
    rate = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

void Recorder::StartRecording() {
    if (parts_.transport.mode() != TransportMode::tmIdle || !parts_.transport.settled()) {
        return;
    }
    if (!parts_.host.closeDocumentForRecording()) {
        return;
    }
    if (!parts_.ui.askRecordingParameters(parameters)) {
        return;
    }
    uint32_t rate = 0;
    if (!parseRate(parameters.sampleRateText, rate)) {
        parts_.ui.showError("Invalid sample rate.");
        return;
    }
    WaveFormat& format = parts_.document.format;
    format = WaveFormat::pcm(rate, static_cast<uint16_t>(parameters.channelsIndex + 1),
                             static_cast<uint16_t>(parameters.resolutionIndex * 8 + 8));

    int code = parts_.device.open(inputDeviceId, format, true);
    if (code == 0) {
        code = parts_.device.open(inputDeviceId, format, false);
    }
    if (code != 0) {
        parts_.ui.messageBox(kRecordInError, parts_.device.errorText(code), MessageIcon::Error,
                             MessageButtons::Ok);
        return;
    }
    parts_.transport.SetTransportMode(TransportMode::tmRecord);
    blocks_.clear();
    recordedBytes_ = 0;
    blockSize_ =
        static_cast<int32_t>(int64_t{bufferTimeMilliseconds} * rate / 1000) * format.blockAlign;
    AddInputBlock();
    AddInputBlock();
    parts_.device.start();
    ShowRecordingStatus();
}

void Recorder::AddInputBlock() {
    InputBlock& block = blocks_.emplace_back();
    const uint8_t silence = parts_.document.format.bitsPerSample == 8 ? 0x80 : 0;
    block.data.assign(static_cast<size_t>(blockSize_), silence);
    block.header.recordData = block.data.data();
    block.header.length = static_cast<uint32_t>(blockSize_);
    block.header.user = static_cast<int64_t>(blocks_.size() - 1);
    parts_.device.addBuffer(&block.header);
}

void Recorder::ShowRecordingStatus() {
    const WaveFormat& format = parts_.document.format;
    parts_.ui.setCaption("Recording ...");
    parts_.ui.setApplicationTitle("Recording ...");
    parts_.ui.setStatusText(
        0, formatText("Sample: %u Hz \xC2\xB7 %u Bit \xC2\xB7 %s", format.samplesPerSec,
                      format.bitsPerSample, format.channels == 1 ? "Mono" : "Stereo"));
    parts_.ui.setStatusText(1,
                            formatText("%lld KB", static_cast<long long>(recordedBytes_ / 1024)));
    const double seconds = format.avgBytesPerSec > 0
                               ? static_cast<double>(recordedBytes_) / format.avgBytesPerSec
                               : 0.0;
    parts_.ui.setStatusText(2, formatText("Time: %.3f s", seconds));
}

void Recorder::stop() {
    parts_.device.reset();
}

void Recorder::pumpDone() {
    std::vector<WaveBuffer*> done;
    parts_.device.pollDone(done);
    if (!parts_.device.lastError().empty() && parts_.transport.mode() == TransportMode::tmRecord) {
        // The input went away: end the recording with what arrived, as Stop would.
        parts_.ui.messageBox(kRecordInError, parts_.device.lastError(), MessageIcon::Error,
                             MessageButtons::Ok);
        parts_.transport.StopPlayback();
    }
    for (WaveBuffer* header : done) {
        InputBlockDone(header);
    }
}

void Recorder::InputBlockDone(WaveBuffer* header) {
    recordedBytes_ += header->bytesRecorded;
    if (parts_.transport.mode() == TransportMode::tmRecord) {
        AddInputBlock();
        ShowRecordingStatus();
        return;
    }
    ShowRecordingStatus();
    if (header != &blocks_.back().header) {
        return;  // the blocks come back in order; the last one ends the recording
    }
    finishRecording();
}

bool Recorder::joinBlocks() {
    int64_t total = 0;
    for (const InputBlock& block : blocks_) {
        total += block.header.bytesRecorded;
    }
    recordedBytes_ = total;
    if (total <= 0) {
        return false;
    }
    std::vector<uint8_t> samples;
    try {
        if (total > 0x7FFFFFFF) {
            throw std::bad_alloc();
        }
        samples.reserve(static_cast<size_t>(total));
    } catch (const std::bad_alloc&) {
        parts_.ui.showError("Failed to allocate memory.");
        return false;
    }
    parts_.ui.setCaption("Copying ...");
    parts_.ui.setApplicationTitle("Copying ...");
    parts_.ui.processEvents();
    while (!blocks_.empty()) {
        const InputBlock& block = blocks_.front();
        samples.insert(samples.end(), block.data.begin(),
                       block.data.begin() + block.header.bytesRecorded);
        blocks_.pop_front();
    }
    parts_.document.data = std::move(samples);
    return true;
}

void Recorder::finishRecording() {
    parts_.device.close();
    AudioDocument& doc = parts_.document;
    if (joinBlocks()) {
        doc.commit("");
        doc.changed = true;
        parts_.host.recordingCommitted();
        if (parameters.normalize) {
            const std::string caption = parts_.ui.caption();
            parts_.ui.setCaption("Normalizing ...");
            parts_.ui.setApplicationTitle("Normalizing ...");
            parts_.ui.processEvents();
            SignalEffects::normalize(doc);
            doc.changed = true;
            parts_.ui.setCaption(caption);
            parts_.ui.setApplicationTitle(caption);
        }
    } else {
        doc.clear();
    }
    blocks_.clear();
    parts_.transport.SetTransportMode(TransportMode::tmIdle);
}

}  // namespace murmelix
