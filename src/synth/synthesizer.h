#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "session/session.h"
#include "synth/cross_fader.h"
#include "synth/segment_controls.h"
#include "synth/segment_selector.h"

namespace murmelix {

class AudioDocument;
class RandomDraw;

// The output ring: 20 slots of one segment each, filled one at a time while an OQT is made
// (segments chosen at random) or a session sequence is replayed (stored entries). A slot
// plays straight from the document's samples unless it is cross-faded, in which case it
// plays its own mixed block. When and where a slot is sent is the transport's business.
class Synthesizer {
  public:
    static constexpr int kSlots = 20;

    struct Slot {
        const uint8_t* data = nullptr;
        uint32_t length = 0;  // bytes
        int32_t user = 0;     // segment number, or the replayed entry's index
        // The stretch of the document the slot sounds, in frames (a cross-faded slot plays
        // its own block, made from this stretch).
        int32_t firstFrame = 0;
        int32_t frames = 0;
        std::vector<uint8_t> mixed;
    };

    // What the random fill needs besides the document; all owned by the program.
    struct RandomFillContext {
        const SegmentControls& controls;
        SegmentSelector& selector;
        // Its halt flag is raised by a draw that fails.
        RandomDraw& draw;
        Session& session;
    };

    // Before the first random fill of a run (the caller clears the halt flag).
    void beginRandomRun();
    // Before the first session fill: `count` sequences from `first` on.
    void beginSessionRun(const Session& session, Session::SequenceList::const_iterator first,
                         int32_t count);

    // Fill the current slot; false when nothing was filled (halted, or nothing left).
    bool randomFill(const AudioDocument& doc, const RandomFillContext& context);
    bool sessionFill(const AudioDocument& doc);

    void freeMixedBlocks();
    void advance() { currentSlot_ = (currentSlot_ + 1) % kSlots; }
    void setCurrentSlot(int32_t slot) { currentSlot_ = slot; }
    void bufferReturned() { --queuedCount_; }
    // A buffer the caller queued itself (the whole file as one buffer).
    void bufferQueued() { ++queuedCount_; }

    Slot& slot(int32_t index) { return slots_[static_cast<size_t>(index)]; }
    Slot& current() { return slot(currentSlot_); }
    int32_t currentSlot() const { return currentSlot_; }
    int32_t queuedCount() const { return queuedCount_; }
    int32_t generatedCount() const { return generatedCount_; }
    int32_t sequencesLeft() const { return sequencesLeft_; }
    CrossFader& crossFader() { return crossFader_; }

  private:
    void point(const AudioDocument& doc, const uint8_t* buffer, int32_t offset, int32_t length,
               int32_t user, int32_t firstFrame);
    void skipEmptySequences();

    std::array<Slot, kSlots> slots_;
    int32_t currentSlot_ = 0;
    int32_t queuedCount_ = 0;
    int32_t generatedCount_ = 0;
    CrossFader crossFader_;

    int32_t sequencesLeft_ = 0;
    Session::SequenceList::const_iterator playSequence_;
    Session::SequenceList::const_iterator playEnd_;
    size_t playEntry_ = 0;
};

}  // namespace murmelix
