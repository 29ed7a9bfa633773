#include "labels/label_cues.h"

#include <algorithm>
#include <cmath>

#include "audio/cue_text.h"
#include "base/utf8_text.h"
#include "labels/label_number.h"

namespace murmelix {

int64_t LabelCues::frameAt(double seconds, int32_t sampleRate) {
    const double frames = std::round(seconds * sampleRate);
    return static_cast<int64_t>(std::clamp(frames, 0.0, 4.0e18));
}

Result LabelCues::toCues(const std::vector<TimedLabel>& labels, const std::string& name,
                         int32_t sampleRate, int32_t frameCount, std::vector<CuePoint>& cues) {
    std::vector<CuePoint> made;
    made.reserve(labels.size());
    for (const TimedLabel& label : labels) {
        const int64_t start = frameAt(label.start, sampleRate);
        if (start >= frameCount) {
            const double seconds =
                sampleRate > 0 ? static_cast<double>(frameCount) / sampleRate : 0;
            return Result::failure(name + ", line " + std::to_string(label.line) + ": label at " +
                                   LabelNumber::shortest(label.start) +
                                   " s starts after the end of the sound (" +
                                   LabelNumber::shortest(seconds) + " s)");
        }
        int64_t length = 0;
        if (label.end > label.start) {
            const int64_t end = std::min<int64_t>(frameAt(label.end, sampleRate), frameCount);
            length = std::max<int64_t>(end - start, 1);
        }
        CuePoint cue;
        cue.position = static_cast<uint32_t>(start);
        cue.length = static_cast<uint32_t>(length);
        cue.label = CueText::limit(label.text);
        made.push_back(std::move(cue));
    }
    cues = std::move(made);
    for (size_t i = 0; i < cues.size(); ++i) {
        cues[i].identifier = static_cast<uint32_t>(i + 1);
    }
    return Result::success();
}

std::vector<TimedLabel> LabelCues::fromCues(const std::vector<CuePoint>& cues, int32_t sampleRate,
                                            int32_t frameCount) {
    std::vector<TimedLabel> labels;
    labels.reserve(cues.size());
    const double rate = sampleRate > 0 ? sampleRate : 1;
    for (const CuePoint& cue : cues) {
        const int64_t start = std::min<int64_t>(cue.position, frameCount);
        const int64_t end =
            std::min<int64_t>(static_cast<int64_t>(cue.position) + cue.length, frameCount);
        labels.push_back({start / rate, end / rate, Utf8Text::fromBytes(cue.label), 0});
    }
    return labels;
}

std::vector<TextGridTier> LabelCues::textGridTiers(std::vector<TimedLabel> labels) {
    std::stable_sort(labels.begin(), labels.end(),
                     [](const TimedLabel& a, const TimedLabel& b) { return a.start < b.start; });
    std::vector<TextGridTier> tiers;
    TextGridTier points{"points", true, {}};
    for (TimedLabel& label : labels) {
        if (label.end <= label.start) {
            points.labels.push_back(std::move(label));  // no interval has no width
            continue;
        }
        auto fits = std::find_if(tiers.begin(), tiers.end(), [&](const TextGridTier& tier) {
            return tier.labels.back().end <= label.start;
        });
        if (fits == tiers.end()) {
            const std::string number = tiers.empty() ? "" : " " + std::to_string(tiers.size() + 1);
            tiers.push_back({"labels" + number, false, {}});
            fits = tiers.end() - 1;
        }
        fits->labels.push_back(std::move(label));
    }
    if (tiers.empty() && points.labels.empty()) {
        tiers.push_back({"labels", false, {}});
    }
    if (!points.labels.empty()) {
        tiers.push_back(std::move(points));
    }
    return tiers;
}

}  // namespace murmelix
