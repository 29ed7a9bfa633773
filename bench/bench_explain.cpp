// Explaining sequences. The machine listener hears a 15-second sequence as it sounded; the
// named baseline is real time, reported as "x_realtime" (target at least 10, model loading
// included). The played words and both scores of every sequence of a 1000-sequence session
// against 3000 word regions: the baseline is 100 ms (the target), reported as "x_target".
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <list>
#include <random>
#include <string>

#include "app/sequence_transcriber.h"
#include "audio/wav_reader.h"
#include "base/console_user_interface.h"
#include "session/sequence_explanation.h"
#include "speech/speech_regions.h"

namespace murmelix {
namespace {

constexpr double kSequenceSeconds = 15.0;

const char* const kText =
    "The old man walked down to the river every morning to watch the boats. He liked the "
    "quiet water and the sound of birds in the trees. One day a young girl sat down beside "
    "him and asked what he was looking for. He said that he was waiting for a friend.";

// The text spoken by espeak-ng at the demo's rate, with its words found as cue regions.
const AudioDocument& recording() {
    static const AudioDocument doc = [] {
        AudioDocument made;
        const auto folder = std::filesystem::temp_directory_path() /
                            ("murmelix-bench-explain-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        const std::string raw = (folder / "raw.wav").string();
        const std::string wav = (folder / "speech.wav").string();
        const std::string command = "espeak-ng -s 150 -w '" + raw + "' '" + kText + "' && sox '" +
                                    raw + "' -r 22050 -b 16 '" + wav + "'";
        ConsoleUserInterface ui;
        if (std::system(command.c_str()) == 0 && WavReader::readFile(wav, made, ui) == 0) {
            RecognitionSettings settings;
            settings.transcript = kText;
            std::vector<CuePoint> words;
            if (SpeechRegions::findWords(made, settings, {}, words).ok()) {
                made.cues = words;
            }
        }
        std::filesystem::remove_all(folder);
        return made;
    }();
    return doc;
}

// Segments of 200 to 600 ms from anywhere in `doc`, as a duration run picks them.
SEQUENCE randomSequence(const AudioDocument& doc, std::mt19937& random, int64_t frames) {
    SEQUENCE sequence;
    sequence.answer = "the river and the boats";
    const int rate = static_cast<int>(doc.fileSampleRate);
    std::uniform_int_distribution<int> length(rate / 5, rate * 3 / 5);
    for (int64_t total = 0; total < frames;) {
        const int n = length(random);
        std::uniform_int_distribution<int> start(0, static_cast<int>(doc.frameCount) - n);
        sequence.entries.push_back(
            {start(random), n, static_cast<int>(sequence.entries.size()) + 1, -1, "", false});
        total += n;
    }
    return sequence;
}

void BM_MachineListener(benchmark::State& state) {
    const AudioDocument& doc = recording();
    if (doc.cues.empty()) {
        state.SkipWithError("espeak-ng, sox and the speech model are needed");
        return;
    }
    std::mt19937 random(7);
    const SEQUENCE sequence =
        randomSequence(doc, random, static_cast<int64_t>(kSequenceSeconds * doc.fileSampleRate));
    for (auto _ : state) {
        std::vector<MachineWord> words;
        if (!SequenceTranscriber::transcribe(sequence, doc, {}, {}, words).ok()) {
            state.SkipWithError("the recogniser failed");
        }
        state.counters["words"] = static_cast<double>(words.size());
    }
    state.counters["x_realtime"] = benchmark::Counter(
        kSequenceSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MachineListener)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ExplainSession(benchmark::State& state) {
    const AudioDocument& doc = recording();
    if (doc.cues.empty()) {
        state.SkipWithError("espeak-ng, sox and the speech model are needed");
        return;
    }
    // As many regions as a half-hour recording of words has.
    std::vector<CuePoint> regions;
    for (int copy = 0; regions.size() < 3000; ++copy) {
        for (CuePoint cue : doc.cues) {
            cue.position += static_cast<uint32_t>(copy * doc.frameCount);
            regions.push_back(cue);
        }
    }
    std::mt19937 random(11);
    std::list<SEQUENCE> session;
    for (int s = 0; s < 1000; ++s) {
        SEQUENCE& sequence = session.emplace_back(randomSequence(
            doc, random, static_cast<int64_t>(kSequenceSeconds * doc.fileSampleRate)));
        sequence.machineWords = std::vector<MachineWord>{{"river", 0.5, 0.1, 0.4}};
    }
    for (auto _ : state) {
        size_t found = 0;
        const PlayedWords words(regions);
        for (const SEQUENCE& sequence : session) {
            const SequenceExplanation explained = SequenceExplanation::of(sequence, words);
            found += explained.playedScore ? explained.playedScore->found : 0;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["x_target"] = benchmark::Counter(0.1 * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExplainSession)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace murmelix

BENCHMARK_MAIN();
