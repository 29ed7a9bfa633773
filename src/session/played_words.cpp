#include "session/played_words.h"

#include <algorithm>

namespace murmelix {

namespace {

std::vector<CuePoint> labelledRegions(const std::vector<CuePoint>& regions) {
    std::vector<CuePoint> out;
    std::copy_if(regions.begin(), regions.end(), std::back_inserter(out),
                 [](const CuePoint& cue) { return cue.length > 0 && !cue.label.empty(); });
    std::sort(out.begin(), out.end(),
              [](const CuePoint& a, const CuePoint& b) { return a.position < b.position; });
    return out;
}

}  // namespace

std::optional<std::vector<PlayedWord>> PlayedWords::of(const SEQUENCE& sequence,
                                                       const std::vector<CuePoint>& regions) {
    const std::vector<CuePoint> words = labelledRegions(regions);
    const bool labelledEntries =
        std::any_of(sequence.entries.begin(), sequence.entries.end(),
                    [](const SEGMENT& entry) { return !entry.label.empty(); });
    if (words.empty() && !labelledEntries) {
        return std::nullopt;
    }
    std::vector<PlayedWord> out;
    for (const SEGMENT& entry : sequence.entries) {
        if (!entry.label.empty()) {
            out.push_back({entry.label, 1.0, PlayedWord::Part::Whole});
        } else {
            addOverlapped(entry, words, out);
        }
    }
    return out;
}

void PlayedWords::addOverlapped(const SEGMENT& entry, const std::vector<CuePoint>& words,
                                std::vector<PlayedWord>& out) {
    const int64_t start = entry.start;
    const int64_t end = start + std::max(0, entry.length);
    for (const CuePoint& word : words) {
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
