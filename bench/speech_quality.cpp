// How well found word and phone regions agree with an anchor, beside the speed benchmark
// (bench_speech). The anchor for the read sentences (tests/speech/real, and one of them made
// 48 kHz with 0.32 s more before it) is the alignment and recognition of a newer release of
// the same recogniser; for the espeak corpus (the speech
// tests' own, made at build time) it is the borders of the spoken words it was joined from.
// Prints per recording and in all: the share of word borders within 20 and 50 ms, of phone
// borders within 30 ms, the word error rate of free recognition, and the share of words that
// free recognition covers with a region. Targets: words >= 85 % within 20 ms and >= 95 %
// within 50 ms, phones >= 85 % within 30 ms on the read sentences; every espeak word covered.
//   speech_quality [ESPEAK_CORPUS_FOLDER]
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "audio/wav_reader.h"
#include "base/console_user_interface.h"
#include "session/answer_score.h"
#include "speech/speech_regions.h"
#include "support/speech_reference.h"

namespace murmelix {
namespace {

using testing::BorderAgreement;
using testing::TimedUnit;

struct Recording {
    std::string name;
    AudioDocument doc;
    std::string transcript;
    std::vector<testing::ReferenceWord> truth;
};

// Totals over a group of recordings.
struct Figures {
    BorderAgreement words20;
    BorderAgreement words50;
    BorderAgreement phones30;
    int errors = 0;  // word errors of free recognition, times the words said
    int spoken = 0;
    int covered = 0;  // words at least half under freely recognised regions
    bool failed = false;
    Figures& operator+=(const Figures& o) {
        words20 += o.words20;
        words50 += o.words50;
        phones30 += o.phones30;
        errors += o.errors;
        spoken += o.spoken;
        covered += o.covered;
        failed = failed || o.failed;
        return *this;
    }
};

bool load(const std::string& path, AudioDocument& doc) {
    ConsoleUserInterface ui;
    return WavReader::readFile(path, doc, ui) == 0;
}

Recording readSentence(const std::string& id, const std::string& wav, double lead) {
    const std::string base = std::string(REAL_SPEECH) + "/ls-" + id;
    Recording r;
    r.name = lead > 0 ? "ls-" + id + "-48k" : "ls-" + id;
    if (load(wav.empty() ? base + ".wav" : wav, r.doc)) {
        std::getline(std::ifstream(base + ".txt"), r.transcript);
        r.truth =
            testing::shifted(testing::referenceWords(base + ".json", base + ".phone.json"), lead);
    }
    return r;
}

std::vector<Recording> readSentences() {
    std::vector<Recording> out;
    for (const char* id : {"0870", "0880", "0890"}) {
        if (Recording r = readSentence(id, "", 0.0); !r.truth.empty()) {
            out.push_back(std::move(r));
        }
    }
    return out;
}

std::vector<Recording> espeakCorpus(const std::string& folder) {
    std::string transcript;
    std::getline(std::ifstream(folder + "/transcript.txt"), transcript);
    std::vector<Recording> out;
    for (const char* name : {"gaps-22050", "tight-8000", "tight-44100", "lead03-22050",
                             "lead1-44100", "noise-22050"}) {
        Recording r;
        r.name = name;
        if (!load(folder + "/" + name + ".wav", r.doc)) {
            continue;
        }
        r.transcript = transcript;
        for (const TimedUnit& unit : testing::timed(r.doc.cues, r.doc.fileSampleRate)) {
            if (unit.label != "gap") {
                r.truth.push_back({unit, {}});
            }
        }
        r.doc.cues.clear();
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<TimedUnit> words(const std::vector<testing::ReferenceWord>& truth) {
    std::vector<TimedUnit> out;
    for (const auto& word : truth) {
        out.push_back(word.word);
    }
    return out;
}

Figures measure(const Recording& r, bool phones) {
    Figures f;
    const int rate = r.doc.fileSampleRate;
    const auto truth = words(r.truth);
    RecognitionSettings aligned;
    aligned.transcript = r.transcript;
    std::vector<CuePoint> cues;
    if (SpeechRegions::findWords(r.doc, aligned, {}, cues).ok()) {
        f.words20 = testing::agreement(testing::timed(cues, rate), truth, 0.020);
        f.words50 = testing::agreement(testing::timed(cues, rate), truth, 0.050);
    } else {
        f.failed = true;
        f.words20.total = f.words50.total = static_cast<int>(2 * truth.size());
    }
    if (phones && SpeechRegions::findPhonemes(r.doc, aligned, {}, cues).ok()) {
        f.phones30 = testing::phoneAgreement(cues, rate, r.truth, 0.030);
    }
    if (SpeechRegions::findWords(r.doc, {}, {}, cues).ok()) {
        const auto heard = testing::timed(cues, rate);
        std::vector<std::string> labels;
        for (const TimedUnit& unit : heard) {
            labels.push_back(unit.label);
        }
        // The transcript as the truth and the recognised words as an answer to it.
        std::string heardText;
        for (const std::string& label : labels) {
            heardText += label + " ";
        }
        const auto said = AnswerScore::wordsOf(r.transcript);
        const auto score = AnswerScore::of(heardText, said);
        f.spoken = static_cast<int>(said.size());
        const double rate = score ? score->wordErrorRate.value_or(1.0) : 1.0;
        f.errors = static_cast<int>(rate * f.spoken + 0.5);
        f.covered = testing::coveredWords(heard, truth);
    } else {
        f.failed = true;
    }
    return f;
}

std::string percent(const BorderAgreement& a) {
    return a.total == 0 ? "    -" : std::to_string(static_cast<int>(a.share() * 100 + 0.5)) + " %";
}

void print(const std::string& name, const Figures& f, size_t words) {
    const double wer = f.spoken == 0 ? 0.0 : 100.0 * f.errors / f.spoken;
    std::printf("%-16s %5zu %8s %8s %10s %9.0f %% %5d/%zu%s\n", name.c_str(), words,
                percent(f.words20).c_str(), percent(f.words50).c_str(), percent(f.phones30).c_str(),
                wer, f.covered, words, f.failed ? "  (a search failed)" : "");
}

void group(const char* title, const std::vector<Recording>& recordings, bool phones) {
    Figures all;
    size_t words = 0;
    for (const Recording& r : recordings) {
        const Figures f = measure(r, phones);
        print(r.name, f, r.truth.size());
        all += f;
        words += r.truth.size();
    }
    print(title, all, words);
}

}  // namespace
}  // namespace murmelix

int main(int argc, char** argv) {
    using namespace murmelix;
    const std::string corpus = argc > 1 ? argv[1] : SPEECH_CORPUS;
    std::printf(
        "Alignment quality against the anchor (words: borders within 20/50 ms; phones: "
        "within 30 ms; free recognition: word error rate, words covered)\n");
    std::printf("%-16s %5s %8s %8s %10s %11s %7s\n", "recording", "words", "<=20ms", "<=50ms",
                "phones<=30", "free WER", "covered");
    group("read sentences", readSentences(), true);
    // The same speech at another rate after a third of a second more of quiet noise.
    if (Recording r = readSentence("0880", corpus + "/real48-0880.wav", 0.32); !r.truth.empty()) {
        std::vector<Recording> one;
        one.push_back(std::move(r));
        group("read, moved", one, true);
    }
    group("espeak corpus", espeakCorpus(corpus), false);
    return 0;
}
