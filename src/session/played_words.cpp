#include "session/played_words.h"

#include <algorithm>

namespace murmelix {

namespace {

bool earlier(const CuePoint& a, const CuePoint& b) {
    return a.position < b.position;
}

}  // namespace

PlayedWords::PlayedWords(const std::vector<CuePoint>& regions) {
    std::copy_if(regions.begin(), regions.end(), std::back_inserter(words_),
                 [](const CuePoint& cue) { return cue.length > 0 && !cue.label.empty(); });
    std::stable_sort(words_.begin(), words_.end(), earlier);
    for (const CuePoint& word : words_) {
        longest_ = std::max<int64_t>(longest_, word.length);
    }
}

std::optional<std::vector<PlayedWord>> PlayedWords::of(const SEQUENCE& sequence) const {
    const bool labelledEntries =
        std::any_of(sequence.entries.begin(), sequence.entries.end(),
                    [](const SEGMENT& entry) { return !entry.label.empty(); });
    if (words_.empty() && !labelledEntries) {
        return std::nullopt;
    }
    std::vector<PlayedWord> out;
    for (const SEGMENT& entry : sequence.entries) {
        if (!entry.label.empty()) {
            out.push_back({entry.label, 1.0, PlayedWord::Part::Whole});
        } else {
            addOverlapped(entry, out);
        }
    }
    return out;
}

void PlayedWords::addOverlapped(const SEGMENT& entry, std::vector<PlayedWord>& out) const {
    const int64_t start = entry.start;
    const int64_t end = start + std::max(0, entry.length);
    // No region that starts a longest region's length before the segment can reach into it.
    CuePoint from;
    from.position = static_cast<uint32_t>(std::clamp<int64_t>(start - longest_, 0, UINT32_MAX));
    for (auto it = std::lower_bound(words_.begin(), words_.end(), from, earlier);
         it != words_.end() && it->position < end; ++it) {
        const CuePoint& word = *it;
        const int64_t first = word.position;
        const int64_t last = first + word.length;
        const int64_t over = std::min(end, last) - std::max(start, first);
        if (over <= 0) {
            continue;
        }
        const double heard = static_cast<double>(over) / static_cast<double>(word.length);
        if (heard < kLeast) {
            continue;
        }
        PlayedWord::Part part = PlayedWord::Part::Whole;
        if (heard < kWhole) {
            part = start <= first ? PlayedWord::Part::Start
                   : end >= last  ? PlayedWord::Part::End
                                  : PlayedWord::Part::Middle;
        }
        out.push_back({word.label, heard, part});
    }
}

std::string PlayedWords::text(const std::vector<PlayedWord>& words) {
    std::string out;
    for (const PlayedWord& word : words) {
        out += (out.empty() ? "" : " ") + word.written();
    }
    return out;
}

}  // namespace murmelix
