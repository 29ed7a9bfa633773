#include "listening/listening_test_maker.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "audio/signal_effects.h"
#include "audio/wav_writer.h"
#include "base/atomic_file.h"
#include "base/input_file.h"
#include "base/text_format.h"
#include "listening/answer_sheet.h"
#include "listening/listening_test_file.h"
#include "random/random_source.h"
#include "session/played_words.h"
#include "session/session_date_time.h"
#include "session/session_table.h"
#include "synth/generation_settings.h"
#include "synth/offline_renderer.h"
#include "synth/random_source_draw.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix {

namespace {

namespace fs = std::filesystem;

// A clip before it has its code: what it is and how it sounds.
struct Draft {
    ListeningClip clip;
    AudioDocument sound;
};

const char* const kReadMe =
    "Murmelix listening test\n"
    "\n"
    "For the listeners: the folder 'clips' and the file 'answer-sheet.csv'. Each listener\n"
    "plays the clips in the order of their numbers and writes in the sheet what they hear\n"
    "(or 'nothing'), with their name in the listener column of every row.\n"
    "\n"
    "Not for the listeners: 'key.json' says what each clip is, and the folder 'answers'\n"
    "holds what every listener answered. Take filled sheets back with\n"
    "  murmelix-cli test import THIS_FOLDER SHEET.csv\n"
    "and make the report with\n"
    "  murmelix-cli test report THIS_FOLDER -o report.html\n";

uint64_t draw(std::mt19937_64& random, uint64_t bound) {
    // Rejection keeps every value equally likely, on every machine.
    const uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
    uint64_t value = random();
    while (value >= limit) {
        value = random();
    }
    return value % bound;
}

Result ready(const std::string& folder) {
    std::error_code error;
    if (fs::exists(folder, error) && !fs::is_empty(folder, error)) {
        return Result::failure(formatText(
            "The folder '%s' is not empty: a listening test is only made in a new or empty "
            "folder, so that no test and no answers are written over.",
            folder.c_str()));
    }
    fs::create_directories(fs::path(folder) / "clips", error);
    fs::create_directories(fs::path(folder) / "answers", error);
    if (error) {
        return Result::failure(formatText("Can't make the folder '%s' (%s).", folder.c_str(),
                                          error.message().c_str()));
    }
    return Result::success();
}

std::string playedText(const SEQUENCE& sequence, const PlayedWords& words) {
    const auto played = words.of(sequence);
    return played ? PlayedWords::text(*played) : std::string();
}

// A control: made with the sequence's settings and a seed of its own, as long as it sounded.
Result makeControl(const SEQUENCE& like, int number, const AudioDocument& recording, uint64_t seed,
                   NoiseInput& noise, UserInterface& ui, const PlayedWords& words, Draft& out) {
    RandomSource source(ui, noise);
    source.setDocument(&recording);
    SegmentControls controls;
    int speed = 100;
    if (Result applied = GenerationSettings::apply(like.madeWith, controls, source, speed);
        !applied.ok()) {
        return applied;
    }
    source.pseudoGenerator().setState(seed);
    if (source.kind() == RandomSourceKind::Fractal) {
        source.setPopulation(GenerationSettings::startForSeed(seed));
    }
    out.clip.madeWith = GenerationSettings::arguments(controls, source, speed);
    AudioDocument original;
    SequenceWavWriter::render(like, recording, original);
    source.beginRun();
    RandomSourceDraw randomDraw(source);
    OfflineRenderer renderer;
    OfflineRenderer::Limit limit;
    limit.frames = std::max<int64_t>(original.frameCount, 1);
    const auto made = renderer.render(recording, controls, randomDraw, limit, ui);
    if (!made || made->entries.empty()) {
        return Result::failure(formatText("No control could be made like sequence %d.", number));
    }
    out.clip.kind = ListeningClip::Kind::Control;
    out.clip.sequence = number;
    out.clip.playedWords = playedText(*made, words);
    SequenceWavWriter::render(*made, recording, out.sound);
    return Result::success();
}

std::vector<int> chosenNumbers(const ListeningTestRequest& request, size_t count, Result& result) {
    std::vector<int> numbers = request.sequences;
    if (numbers.empty()) {
        for (size_t i = 1; i <= count; ++i) {
            numbers.push_back(static_cast<int>(i));
        }
    }
    for (const int n : numbers) {
        if (n < 1 || static_cast<size_t>(n) > count) {
            result = Result::failure(
                formatText("The session holds %zu sequences; there is no sequence %d.", count, n));
        }
    }
    if (numbers.empty()) {
        result = Result::failure("The session holds no sequence to make a listening test of.");
    }
    return numbers;
}

Result writeClip(const std::string& folder, const ListeningClip& clip, AudioDocument& sound,
                 UserInterface& ui) {
    // Blind: the file holds the sound and its format, no cue list, no labels, no texts.
    sound.cues.clear();
    const std::string path = folder + "/" + clip.fileName();
    if (WavWriter::writeDocument(path, sound, ui) != 0) {
        return Result::failure(formatText("The clip '%s' could not be written.", path.c_str()));
    }
    return Result::success();
}

}  // namespace

std::optional<std::vector<int>> ListeningTestMaker::sequenceList(const std::string& text, int count,
                                                                 std::string& problem) {
    std::vector<int> out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t comma = std::min(text.find(',', at), text.size());
        const std::string part = text.substr(at, comma - at);
        at = comma + 1;
        if (part.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        int first = 0;
        int last = 0;
        char dash = 0;
        char rest = 0;
        const int read = std::sscanf(part.c_str(), " %d %c %d %c", &first, &dash, &last, &rest);
        const bool single = read == 1;
        const bool range = read == 3 && dash == '-';
        if (single) {
            last = first;
        }
        if (!(single || range) || first < 1 || last < first || last > count) {
            problem =
                formatText("\"%s\" is no OQT number or range from 1 to %d.", part.c_str(), count);
            return std::nullopt;
        }
        for (int n = first; n <= last; ++n) {
            out.push_back(n);
        }
    }
    if (out.empty()) {
        problem = "Type the numbers of the OQTs, as 1, 3-5.";
        return std::nullopt;
    }
    return out;
}

std::vector<size_t> ListeningTestMaker::shuffled(size_t n, uint64_t seed) {
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) {
        order[i] = i;
    }
    std::mt19937_64 random(seed);
    for (size_t i = n; i > 1; --i) {
        std::swap(order[i - 1], order[draw(random, i)]);
    }
    return order;
}

Result ListeningTestMaker::make(const std::string& folder, const std::string& sessionFile,
                                const std::list<SEQUENCE>& sequences,
                                const AudioDocument& recording, const ListeningTestRequest& request,
                                NoiseInput& noise, UserInterface& ui,
                                const std::function<bool(int64_t, int64_t)>& progress,
                                ListeningTest& out) {
    Result valid = Result::success();
    const std::vector<int> numbers = chosenNumbers(request, sequences.size(), valid);
    if (!valid.ok()) {
        return valid;
    }
    std::vector<const SEQUENCE*> byNumber;
    for (const SEQUENCE& sequence : sequences) {
        byNumber.push_back(&sequence);
    }
    std::string unknown;
    for (const int n : numbers) {
        if (request.controls > 0 && byNumber[n - 1]->madeWith.empty()) {
            unknown += formatText("%s%d", unknown.empty() ? "" : ", ", n);
        }
    }
    if (!unknown.empty()) {
        return Result::failure(formatText(
            "Controls are made with the settings of their sequence, and Murmelix does not know "
            "those of sequences %s (they were made before it kept them, or by another program). "
            "Leave those sequences out or make the test without controls.",
            unknown.c_str()));
    }
    if (Result made = ready(folder); !made.ok()) {
        return made;
    }
    const PlayedWords words(recording.cues);
    std::mt19937_64 seeds(request.seed ^ 0x9E3779B97F4A7C15ull);
    std::vector<Draft> drafts;
    const int64_t total =
        static_cast<int64_t>(numbers.size()) * (1 + request.controls + (request.reversed ? 1 : 0));
    for (const int n : numbers) {
        const SEQUENCE& sequence = *byNumber[n - 1];
        Draft original;
        original.clip.sequence = n;
        original.clip.madeWith = sequence.madeWith;
        original.clip.playedWords = playedText(sequence, words);
        if (sequence.machineWords) {
            original.clip.machineWords = MachineWord::text(*sequence.machineWords);
        }
        SequenceWavWriter::render(sequence, recording, original.sound);
        if (request.reversed) {
            Draft reversed = original;
            reversed.clip.kind = ListeningClip::Kind::Reversed;
            reversed.clip.machineWords.reset();
            SignalEffects::reverse(reversed.sound);
            drafts.push_back(std::move(reversed));
        }
        drafts.push_back(std::move(original));
        for (int c = 0; c < request.controls; ++c) {
            Draft control;
            if (Result made =
                    makeControl(sequence, n, recording, seeds(), noise, ui, words, control);
                !made.ok()) {
                return made;
            }
            drafts.push_back(std::move(control));
        }
        if (progress && !progress(static_cast<int64_t>(drafts.size()), total)) {
            return Result::cancel();
        }
    }
    ListeningTest test;
    test.seed = request.seed;
    test.sessionFile = sessionFile;
    test.recording = recording.fileName;
    test.created = SessionTable::isoDateTime(SessionDateTime::now().storedForm());
    const size_t width = drafts.size() < 100 ? 2 : drafts.size() < 1000 ? 3 : 4;
    size_t code = 0;
    for (const size_t at : shuffled(drafts.size(), request.seed)) {
        Draft& draft = drafts[at];
        draft.clip.code = formatText("%0*zu", static_cast<int>(width), ++code);
        draft.clip.seconds = draft.sound.durationSeconds();
        if (Result written = writeClip(folder, draft.clip, draft.sound, ui); !written.ok()) {
            return written;
        }
        test.clips.push_back(draft.clip);
    }
    for (const Result& written :
         {ListeningTestFile::write(folder, test),
          AtomicFile::writeWhole(folder + "/" + kSheetName, AnswerSheet::blank(test)),
          AtomicFile::writeWhole(folder + "/" + kReadMeName, kReadMe)}) {
        if (!written.ok()) {
            return written;
        }
    }
    out = std::move(test);
    return Result::success();
}

}  // namespace murmelix
