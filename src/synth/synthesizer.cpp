#include "synth/synthesizer.h"

#include <algorithm>

#include "audio/audio_document.h"
#include "synth/random_draw.h"

namespace murmelix {

void Synthesizer::beginRandomRun() {
    currentSlot_ = 0;
    queuedCount_ = 0;
    generatedCount_ = 0;
    crossFader_.clearTail();
}

void Synthesizer::beginSessionRun(const Session& session,
                                  Session::SequenceList::const_iterator first, int32_t count) {
    currentSlot_ = 0;
    queuedCount_ = 0;
    crossFader_.clearTail();
    sequencesLeft_ = count;
    playSequence_ = first;
    playEnd_ = session.sequences().end();
    playEntry_ = 0;
    skipEmptySequences();
}

void Synthesizer::point(const AudioDocument& doc, const uint8_t* buffer, int32_t offset,
                        int32_t length, int32_t user, int32_t firstFrame) {
    Slot& slot = current();
    slot.firstFrame = firstFrame;
    slot.frames = length;
    slot.data = buffer + static_cast<int64_t>(offset) * doc.frameSize;
    slot.length = static_cast<uint32_t>(length) * static_cast<uint32_t>(doc.frameSize);
    slot.user = user;
    ++queuedCount_;
}

bool Synthesizer::randomFill(const AudioDocument& doc, const RandomFillContext& context) {
    if (context.draw.halted()) {
        return false;
    }
    const SegmentChoice segment =
        context.selector.chooseSegment(doc, context.controls, context.draw);
    const bool fade = context.controls.crossFade && !context.selector.cueMode();
    Slot& slot = current();
    if (fade) {
        crossFader_.crossFade(doc, segment.start, segment.length, slot.mixed);
        point(doc, slot.mixed.data(), 0, segment.length, segment.number, segment.start);
    } else {
        point(doc, doc.data.data(), segment.start, segment.length, segment.number, segment.start);
    }
    ++generatedCount_;
    if (context.session.recordingActive && !context.draw.halted()) {
        SEGMENT entry;
        entry.start = segment.start;
        entry.length = segment.length;
        entry.number = generatedCount_;
        entry.index = segment.number;
        entry.fade = fade;
        if (context.selector.cueMode()) {
            entry.label = doc.cues[static_cast<size_t>(segment.number)].label;
        }
        context.session.appendEntry(std::move(entry));
        context.session.changed = true;
    }
    return true;
}

void Synthesizer::skipEmptySequences() {
    // A sequence without entries has nothing to play; it neither stops nor stalls the replay.
    while (sequencesLeft_ > 0 && playSequence_ != playEnd_ && playSequence_->entries.empty()) {
        --sequencesLeft_;
        ++playSequence_;
    }
    if (playSequence_ == playEnd_) {
        sequencesLeft_ = 0;
    }
}

bool Synthesizer::sessionFill(const AudioDocument& doc) {
    if (sequencesLeft_ <= 0) {
        return false;
    }
    const SEGMENT& entry = playSequence_->entries[playEntry_];
    // Entries may index a file that has since been edited: play only their frames that lie
    // inside the data (a start of -5 with length 10 plays frames 0 to 4), as an export does.
    const auto start = static_cast<int32_t>(std::clamp<int64_t>(entry.start, 0, doc.frameCount));
    const auto length = static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{entry.start} + entry.length, start, doc.frameCount) - start);
    Slot& slot = current();
    if (entry.fade) {
        crossFader_.crossFade(doc, start, length, slot.mixed);
        point(doc, slot.mixed.data(), 0, length, entry.index, start);
    } else {
        point(doc, doc.data.data(), start, length, entry.index, start);
    }
    if (++playEntry_ >= playSequence_->entries.size()) {
        playEntry_ = 0;
        --sequencesLeft_;
        ++playSequence_;
        skipEmptySequences();
    }
    return true;
}

void Synthesizer::freeMixedBlocks() {
    for (Slot& slot : slots_) {
        std::vector<uint8_t>().swap(slot.mixed);
    }
}

}  // namespace murmelix
