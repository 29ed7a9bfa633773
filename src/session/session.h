#pragma once

#include <cstdint>
#include <list>
#include <string>

#include <vector>

#include "session/kept_line.h"
#include "session/sequence.h"

namespace murmelix {

// The user's record of work: every stream generated while session recording was on, as a
// sequence in recording order, all indexing the samples of one WAV file. One instance,
// owned by Program and touched on the UI thread only.
//
// Invariants: count() is the length of the list; currentIndex() is the position of
// current(); with no sequence, first(), last() and current() are none and the index is 0.
class Session {
  public:
    using SequenceList = std::list<SEQUENCE>;

    Session() = default;
    // The current position is an iterator into the own list; a copy would point elsewhere.
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    std::string sessionFileName;   // full path; empty until opened or saved under a name
    std::string wavFileName;       // full path of the WAV file all entries index
    bool recordMode = false;       // session recording switched on
    bool recordingActive = false;  // the running generation is filling the last sequence
    bool changed = false;          // differs from its file: enables Save, asks on close
    // Lines of the session file that could not be read; the next save writes them back.
    std::vector<KeptLine> keptLines;

    const SequenceList& sequences() const { return sequences_; }
    int32_t count() const { return static_cast<int32_t>(sequences_.size()); }
    bool empty() const { return sequences_.empty(); }
    int32_t currentIndex() const { return currentIndex_; }

    SEQUENCE* first() { return empty() ? nullptr : &sequences_.front(); }
    SEQUENCE* last() { return empty() ? nullptr : &sequences_.back(); }
    SEQUENCE* current() { return empty() ? nullptr : &*current_; }
    const SEQUENCE* first() const { return empty() ? nullptr : &sequences_.front(); }
    const SEQUENCE* last() const { return empty() ? nullptr : &sequences_.back(); }
    const SEQUENCE* current() const { return empty() ? nullptr : &*current_; }
    // Where session playback of the current sequence starts; end() when empty.
    SequenceList::const_iterator currentPosition() const { return current_; }

    // The last entry of the last sequence: where the next recorded entry is linked.
    // None when the last sequence has no entry yet (or there is no sequence).
    const SEGMENT* entryTail() const;

    // Appends at the end; the new sequence becomes current with the old count as index.
    SEQUENCE& appendSequence(SEQUENCE sequence);
    // Replaces every sequence (a session file was read); the first becomes current.
    void assignSequences(SequenceList sequences);
    // Links an entry after the entry tail. False (nothing stored) without a sequence.
    bool appendEntry(SEGMENT entry);
    // Frees the last sequence; the new last one becomes current.
    void removeLastSequence();
    // Frees every sequence and entry; names and flags are left to the caller.
    void clearSequences();

    // Each sequence in order, to change what is noted about it (the words heard in it); the
    // list itself stays as it is.
    template <typename Change>
    void forEachSequence(Change&& change) {
        for (SEQUENCE& sequence : sequences_) {
            change(sequence);
        }
    }

    // Move the current sequence; false (nothing moved) at either end.
    bool previous();
    bool next();

  private:
    SequenceList sequences_;
    SequenceList::iterator current_ = sequences_.end();
    int32_t currentIndex_ = 0;
};

}  // namespace murmelix
