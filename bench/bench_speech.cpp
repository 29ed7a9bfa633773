// Speech regions against real time (the named baseline: how long the recording plays). Each
// benchmark reports "x_realtime", the recording's duration over the time taken. Targets:
// pauses over 10 minutes of 44.1 kHz stereo above 1000, words with a transcript above 5,
// words without one above 1.5, phonemes above 1 (model loading included).
// Words and phonemes hear about a minute of English spoken by espeak-ng.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "audio/wav_reader.h"
#include "audio/wave_format.h"
#include "base/console_user_interface.h"
#include "speech/speech_regions.h"

namespace murmelix {
namespace {

constexpr int kRate = 44100;

// Ten minutes of syllable-like bursts (a tone under noise, 300 ms on, 200 ms off).
const AudioDocument& tenMinutes() {
    static const AudioDocument doc = [] {
        AudioDocument made;
        made.format = WaveFormat::pcm(kRate, 2, 16);
        const int64_t frames = int64_t{kRate} * 600;
        made.data.resize(static_cast<size_t>(frames) * 4);
        uint32_t noise = 12345;
        for (int64_t f = 0; f < frames; ++f) {
            noise = noise * 1664525u + 1013904223u;
            const bool on = (f % (kRate / 2)) < kRate * 3 / 10;
            const double tone = on ? 8000.0 * std::sin(f * 0.05) : 0.0;
            const auto value = static_cast<int16_t>(tone + static_cast<int>(noise >> 26) - 32);
            for (int c = 0; c < 2; ++c) {
                made.write(c, f, value);
            }
        }
        made.commit("");
        return made;
    }();
    return doc;
}

const char* const kText =
    "The old man walked down to the river every morning to watch the boats. He liked the "
    "quiet water and the sound of birds in the trees. One day a young girl sat down beside "
    "him and asked what he was looking for. He said that he was waiting for a friend who had "
    "gone away many years ago. The girl listened to his story and then she told him about her "
    "own family and the small house where they lived near the market. They talked until the "
    "sun was high and the boats had all gone out. After that she came back every day, and the "
    "two of them became good friends. In the evening he would walk home slowly, thinking of "
    "the water, the boats and the people he had known.";

// The text spoken by espeak-ng once per run, at 16 kHz like most speech recordings.
const AudioDocument& spoken() {
    static const AudioDocument doc = [] {
        AudioDocument made;
        const auto folder = std::filesystem::temp_directory_path() /
                            ("murmelix-bench-speech-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        const std::string raw = (folder / "raw.wav").string();
        const std::string wav = (folder / "speech.wav").string();
        const std::string command = "espeak-ng -s 150 -w '" + raw + "' '" + kText + "' && sox '" +
                                    raw + "' -r 16000 -b 16 '" + wav + "'";
        if (std::system(command.c_str()) == 0) {
            ConsoleUserInterface ui;
            (void)WavReader::readFile(wav, made, ui);
        }
        std::filesystem::remove_all(folder);
        return made;
    }();
    return doc;
}

void report(benchmark::State& state, const AudioDocument& doc) {
    state.counters["x_realtime"] =
        benchmark::Counter(doc.durationSeconds() * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["seconds_of_sound"] = doc.durationSeconds();
}

void BM_FindPauses(benchmark::State& state) {
    const AudioDocument& doc = tenMinutes();
    for (auto _ : state) {
        std::vector<CuePoint> cues;
        if (!SpeechRegions::findPauses(doc, {}, {}, cues).ok()) {
            state.SkipWithError("pauses failed");
        }
        benchmark::DoNotOptimize(cues.data());
    }
    report(state, doc);
}
BENCHMARK(BM_FindPauses)->Unit(benchmark::kMillisecond)->UseRealTime();

template <bool Words, bool WithTranscript>
void BM_Recognise(benchmark::State& state) {
    const AudioDocument& doc = spoken();
    if (!doc.loaded) {
        state.SkipWithError("espeak-ng and sox are needed");
        return;
    }
    RecognitionSettings settings;
    settings.transcript = WithTranscript ? kText : "";
    for (auto _ : state) {
        std::vector<CuePoint> cues;
        const Result result = Words ? SpeechRegions::findWords(doc, settings, {}, cues)
                                    : SpeechRegions::findPhonemes(doc, settings, {}, cues);
        if (!result.ok()) {
            state.SkipWithError(result.message().c_str());
        }
        state.counters["regions"] = static_cast<double>(cues.size());
    }
    report(state, doc);
}
BENCHMARK(BM_Recognise<true, true>)
    ->Name("BM_WordsWithTranscript")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_Recognise<true, false>)
    ->Name("BM_WordsHeard")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_Recognise<false, true>)
    ->Name("BM_PhonemesWithTranscript")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_Recognise<false, false>)
    ->Name("BM_PhonemesHeard")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
}  // namespace murmelix

BENCHMARK_MAIN();
