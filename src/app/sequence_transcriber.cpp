#include "app/sequence_transcriber.h"

#include <atomic>
#include <cmath>
#include <thread>

#include "speech/speech_regions.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix {

namespace {

// Longer sequences are heard in two halves at once, one on each of two cores.
constexpr double kSplitFromSeconds = 6.0;

// The frames [first, first + frames) of `doc` as a document of their own.
AudioDocument part(const AudioDocument& doc, int64_t first, int64_t frames) {
    AudioDocument out;
    out.format = doc.format;
    const auto begin = doc.data.begin() + first * doc.frameSize;
    out.data.assign(begin, begin + frames * doc.frameSize);
    out.commit("");
    return out;
}

// The quietest 50 ms in the middle third: there a cut is least likely to split a word.
int64_t quietestMiddle(const AudioDocument& doc) {
    const int64_t window = std::max<int64_t>(doc.fileSampleRate / 20, 1);
    int64_t best = doc.frameCount / 2;
    double bestEnergy = -1;
    for (int64_t start = doc.frameCount / 3; start + window < doc.frameCount * 2 / 3;
         start += window / 2) {
        double energy = 0;
        for (int64_t f = start; f < start + window; ++f) {
            const double v = doc.read(0, f);
            energy += v * v;
        }
        if (bestEnergy < 0 || energy < bestEnergy) {
            bestEnergy = energy;
            best = start + window / 2;
        }
    }
    return best;
}

Result hear(const AudioDocument& sounded, const std::string& modelDir,
            const SpeechProgress& progress, double offset, std::vector<MachineWord>& out) {
    RecognitionSettings settings;
    settings.modelDir = modelDir;
    std::vector<CuePoint> heard;
    if (Result found = SpeechRegions::findWords(sounded, settings, progress, heard); !found.ok()) {
        return found;
    }
    const double rate = sounded.fileSampleRate;
    for (const CuePoint& cue : heard) {
        out.push_back({cue.label, SpeechRegions::confidenceOf(cue.note).value_or(0.0),
                       offset + cue.position / rate,
                       offset + (int64_t{cue.position} + cue.length) / rate});
    }
    return Result::success();
}

}  // namespace

Result SequenceTranscriber::transcribe(const SEQUENCE& sequence, const AudioDocument& recording,
                                       const std::string& modelDir, const SpeechProgress& progress,
                                       std::vector<MachineWord>& out) {
    AudioDocument sounded;
    SequenceWavWriter::render(sequence, recording, sounded);
    std::vector<MachineWord> words;
    if (sounded.frameCount == 0) {
        out.clear();
        return Result::success();
    }
    if (sounded.durationSeconds() < kSplitFromSeconds) {
        const Result heard = hear(sounded, modelDir, progress, 0.0, words);
        if (heard.ok()) {
            out = std::move(words);
        }
        return heard;
    }
    const int64_t cut = quietestMiddle(sounded);
    const AudioDocument first = part(sounded, 0, cut);
    const AudioDocument second = part(sounded, cut, sounded.frameCount - cut);
    // The first half tells how far both got (they take about as long); a Cancel stops both.
    std::atomic<bool> cancelled{false};
    const SpeechProgress firstProgress = [&](int64_t done, int64_t total) {
        const bool go = !progress || progress(done, total);
        cancelled = cancelled || !go;
        return go;
    };
    const SpeechProgress secondProgress = [&](int64_t, int64_t) { return !cancelled.load(); };
    std::vector<MachineWord> later;
    Result secondResult = Result::success();
    std::thread other([&] {
        secondResult = hear(second, modelDir, secondProgress,
                            static_cast<double>(cut) / sounded.fileSampleRate, later);
    });
    const Result firstResult = hear(first, modelDir, firstProgress, 0.0, words);
    if (!firstResult.ok()) {
        cancelled = true;
    }
    other.join();
    if (!firstResult.ok()) {
        return firstResult;
    }
    if (!secondResult.ok()) {
        return secondResult;
    }
    words.insert(words.end(), later.begin(), later.end());
    out = std::move(words);
    return Result::success();
}

}  // namespace murmelix
