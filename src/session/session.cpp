#include "session/session.h"

#include <iterator>
#include <utility>

namespace murmelix {

const SEGMENT* Session::entryTail() const {
    if (empty() || sequences_.back().entries.empty()) {
        return nullptr;
    }
    return &sequences_.back().entries.back();
}

SEQUENCE& Session::appendSequence(SEQUENCE sequence) {
    currentIndex_ = count();
    sequences_.push_back(std::move(sequence));
    current_ = std::prev(sequences_.end());
    return *current_;
}

void Session::assignSequences(SequenceList sequences) {
    sequences_ = std::move(sequences);
    current_ = sequences_.begin();
    currentIndex_ = 0;
}

bool Session::appendEntry(SEGMENT entry) {
    if (empty()) {
        return false;
    }
    sequences_.back().entries.push_back(std::move(entry));
    return true;
}

void Session::removeLastSequence() {
    if (empty()) {
        return;
    }
    sequences_.pop_back();
    current_ = empty() ? sequences_.end() : std::prev(sequences_.end());
    currentIndex_ = empty() ? 0 : count() - 1;
}

void Session::clearSequences() {
    sequences_.clear();
    current_ = sequences_.end();
    currentIndex_ = 0;
}

bool Session::previous() {
    if (empty() || currentIndex_ <= 0) {
        return false;
    }
    --current_;
    --currentIndex_;
    return true;
}

bool Session::next() {
    if (empty() || currentIndex_ + 1 >= count()) {
        return false;
    }
    ++current_;
    ++currentIndex_;
    return true;
}

}  // namespace murmelix
