#include "device/heard_timeline.h"

#include <algorithm>

namespace murmelix {

namespace {

// Half a frame of slack for the rounding of the converter's position.
constexpr double kSlack = 0.5;

}  // namespace

bool HeardTimeline::begin(WaveBuffer* buffer, double inputStart) {
    if (count_ == entries_.size()) {
        return false;
    }
    ++count_;
    at(count_ - 1) = {buffer, inputStart};
    return true;
}

void HeardTimeline::end(double inputEnd) {
    if (count_ > 0) {
        at(count_ - 1).inputEnd = inputEnd;
    }
}

void HeardTimeline::reach(double from, double to, double heardAt, double secondsPerFrame) {
    const auto timeOf = [&](double position) {
        return heardAt + std::clamp(position - from, 0.0, to - from) * secondsPerFrame;
    };
    for (size_t i = 0; i < count_; ++i) {
        Entry& entry = at(i);
        if (entry.startsAt < 0 && entry.inputStart <= to + kSlack) {
            entry.startsAt = timeOf(entry.inputStart);
        }
        if (entry.endsAt < 0 && entry.inputEnd >= 0 && entry.inputEnd <= to + kSlack) {
            entry.endsAt = timeOf(entry.inputEnd);
        }
        if (entry.startsAt < 0) {
            return;  // the later ones start later still
        }
    }
}

void HeardTimeline::reachAll(double heardAt) {
    for (size_t i = 0; i < count_; ++i) {
        Entry& entry = at(i);
        if (entry.startsAt < 0) {
            entry.startsAt = heardAt;
        }
        if (entry.endsAt < 0 && entry.inputEnd >= 0) {
            entry.endsAt = heardAt;
        }
    }
}

void HeardTimeline::releaseHeard(double now, DoneQueue& done) {
    while (count_ > 0 && at(0).endsAt >= 0 && at(0).endsAt <= now) {
        pop(done, true);
    }
}

void HeardTimeline::releaseAll(double now, DoneQueue& done) {
    while (count_ > 0) {
        const Entry& entry = at(0);
        pop(done, entry.startsAt >= 0 && entry.startsAt <= now);
    }
}

void HeardTimeline::pop(DoneQueue& done, bool sounded) {
    WaveBuffer* buffer = at(0).buffer;
    buffer->sounded = sounded;
    done.push(buffer);
    head_ = (head_ + 1) % entries_.size();
    --count_;
}

}  // namespace murmelix
