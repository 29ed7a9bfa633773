#include "speech/speech_regions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/text_format.h"
#include "speech/level_meter.h"
#include "speech/pause_finder.h"
#include "speech/region_borders.h"
#include "speech/transcript.h"
#include "speech/word_finder.h"

namespace murmelix {

namespace {

int64_t framesOf(int milliseconds, const AudioDocument& doc) {
    return static_cast<int64_t>(milliseconds) * doc.fileSampleRate / 1000;
}

int64_t blocksOf(int milliseconds, int64_t blockFrames, const AudioDocument& doc) {
    return (framesOf(milliseconds, doc) + blockFrames - 1) / blockFrames;
}

Result finish(const AudioDocument& doc, bool zeroCross, Result result,
              std::vector<FrameSpan>& spans, std::vector<CuePoint>& out) {
    if (!result.ok()) {
        return result;
    }
    if (zeroCross) {
        RegionBorders::snapToZeroCrossings(doc, spans);
    }
    out = RegionBorders::cues(spans);
    return result;
}

Result unloaded() {
    return Result::failure("There is no recording to look for regions in.");
}

}  // namespace

std::string SpeechRegions::fitNote(double fit) {
    return formatText("fit %.2f", fit);
}

namespace {

// The number of a note "NAME 0.31" that we wrote; none for any other note.
std::optional<double> numberAfter(const char* name, const std::string& note) {
    const std::string prefix = std::string(name) + " ";
    if (note.rfind(prefix, 0) != 0) {
        return std::nullopt;
    }
    double value = 0.0;
    char rest = 0;
    if (std::sscanf(note.c_str() + prefix.size(), "%lf%c", &value, &rest) != 1) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<double> SpeechRegions::fitOf(const std::string& note) {
    return numberAfter("fit", note);
}

std::optional<double> SpeechRegions::confidenceOf(const std::string& note) {
    return numberAfter("confidence", note);
}

std::optional<double> SpeechRegions::overallFit(const std::vector<CuePoint>& words) {
    // The geometric mean over every frame, as each word's own fit is.
    double logSum = 0.0;
    double frames = 0.0;
    for (const CuePoint& word : words) {
        const std::optional<double> fit = fitOf(word.note);
        if (!fit) {
            return std::nullopt;
        }
        // A note of "fit 0.00" stands for anything below half a hundredth.
        logSum += std::log(std::max(*fit, 0.001)) * word.length;
        frames += word.length;
    }
    if (frames <= 0.0) {
        return std::nullopt;
    }
    return std::exp(logSum / frames);
}

int64_t SpeechRegions::blockFrames(const AudioDocument& doc) {
    return std::max<int64_t>(1, doc.fileSampleRate / 100);
}

Result SpeechRegions::findPauses(const AudioDocument& doc, const PauseSettings& settings,
                                 const SpeechProgress& progress, std::vector<CuePoint>& out) {
    if (!doc.loaded) {
        return unloaded();
    }
    const int64_t hop = blockFrames(doc);
    std::vector<float> levels;
    if (Result measured = LevelMeter::levels(doc, hop, progress, levels); !measured.ok()) {
        return measured;
    }
    PauseFinder::Limits limits;
    limits.thresholdDb = settings.thresholdDb;
    limits.minPauseBlocks = blocksOf(settings.minPauseMs, hop, doc);
    limits.minRegionBlocks = blocksOf(settings.minRegionMs, hop, doc);
    std::vector<FrameSpan> spans;
    for (const PauseFinder::Block& block : PauseFinder::regions(levels, limits)) {
        const int64_t end = std::min<int64_t>(block.end * hop, doc.frameCount);
        spans.push_back({block.start * hop, end, std::to_string(spans.size() + 1), {}});
    }
    const auto words = Transcript::words(settings.transcript);
    if (!words.empty() && words.size() == spans.size()) {
        for (size_t i = 0; i < spans.size(); ++i) {
            spans[i].label = words[i].written;
        }
    }
    RegionBorders::pad(spans, framesOf(settings.paddingMs, doc), doc.frameCount);
    return finish(doc, settings.zeroCross, Result::success(), spans, out);
}

Result SpeechRegions::findWords(const AudioDocument& doc, const RecognitionSettings& settings,
                                const SpeechProgress& progress, std::vector<CuePoint>& out) {
    if (!doc.loaded) {
        return unloaded();
    }
    std::vector<FrameSpan> spans;
    Result found = WordFinder::words(doc, settings, progress, spans);
    RegionBorders::pad(spans, framesOf(settings.paddingMs, doc), doc.frameCount);
    return finish(doc, settings.zeroCross, std::move(found), spans, out);
}

Result SpeechRegions::findPhonemes(const AudioDocument& doc, const RecognitionSettings& settings,
                                   const SpeechProgress& progress, std::vector<CuePoint>& out) {
    if (!doc.loaded) {
        return unloaded();
    }
    std::vector<FrameSpan> spans;
    Result found = WordFinder::phonemes(doc, settings, progress, spans);
    RegionBorders::pad(spans, framesOf(settings.paddingMs, doc), doc.frameCount);
    return finish(doc, settings.zeroCross, std::move(found), spans, out);
}

}  // namespace murmelix
