#include "cli/cues_find_command.h"

#include <unistd.h>

#include <cstdio>

#include "app/found_regions_advice.h"
#include "audio/sound_importer.h"
#include "audio/wav_writer.h"
#include "cli/in_place_output.h"
#include "labels/cue_identifiers.h"
#include "speech/speech_regions.h"
#include "speech/transcript.h"

namespace murmelix::cli {

namespace {

// A percentage on one line of the terminal, rewritten as it grows; nothing when standard
// error is not a terminal (a log file wants no carriage returns).
class TerminalProgress {
  public:
    explicit TerminalProgress(const char* what) : what_(what), shown_(isatty(STDERR_FILENO) != 0) {}
    ~TerminalProgress() {
        if (shown_ && percent_ >= 0) {
            std::fputc('\n', stderr);
        }
    }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    SpeechProgress callback() {
        return [this](int64_t done, int64_t total) {
            const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 0;
            if (shown_ && percent != percent_) {
                percent_ = percent;
                std::fprintf(stderr, "\r%s: %d%%", what_, percent);
                std::fflush(stderr);
            }
            return true;
        };
    }

  private:
    const char* what_;
    bool shown_;
    int percent_ = -1;
};

int failed(ConsoleUserInterface& ui, const Result& result) {
    ui.showError(result.message());
    return kExitFailed;
}

int nonNegative(const std::optional<long long>& value, int otherwise) {
    return value ? static_cast<int>(*value) : otherwise;
}

Result transcriptOf(const CuesFindOptions& options, std::string& text) {
    if (options.transcriptFile) {
        return Transcript::readFile(*options.transcriptFile, text);
    }
    text = options.text.value_or("");
    return Result::success();
}

CueSearch searchOf(const std::string& kind, const CuesFindOptions& options,
                   const std::string& transcript) {
    CueSearch search;
    search.kind = kind == "pauses"  ? CueSearch::Kind::Pauses
                  : kind == "words" ? CueSearch::Kind::Words
                                    : CueSearch::Kind::Phonemes;
    PauseSettings& pauses = search.pauses;
    pauses.thresholdDb = options.thresholdDb;
    pauses.minPauseMs = nonNegative(options.minPauseMs, pauses.minPauseMs);
    pauses.minRegionMs = nonNegative(options.minRegionMs, pauses.minRegionMs);
    pauses.paddingMs = nonNegative(options.paddingMs, pauses.paddingMs);
    pauses.zeroCross = options.zeroCross;
    pauses.transcript = transcript;
    RecognitionSettings& recognition = search.recognition;
    recognition.transcript = transcript;
    recognition.ipa = options.ipa;
    recognition.zeroCross = options.zeroCross;
    recognition.paddingMs = nonNegative(options.paddingMs, recognition.paddingMs);
    return search;
}

Result find(const CueSearch& search, const AudioDocument& doc, std::vector<CuePoint>& cues) {
    switch (search.kind) {
        case CueSearch::Kind::Words: {
            TerminalProgress progress("Finding words");
            return SpeechRegions::findWords(doc, search.recognition, progress.callback(), cues);
        }
        case CueSearch::Kind::Phonemes: {
            TerminalProgress progress("Finding phonemes");
            return SpeechRegions::findPhonemes(doc, search.recognition, progress.callback(), cues);
        }
        case CueSearch::Kind::Pauses:
            break;
    }
    TerminalProgress progress("Finding pauses");
    return SpeechRegions::findPauses(doc, search.pauses, progress.callback(), cues);
}

}  // namespace

CuesFindOptions CuesFindOptions::take(CommandLine& line) {
    CuesFindOptions options;
    options.transcriptFile = line.value("--transcript");
    options.text = line.value("--text");
    options.thresholdDb = line.number("--threshold");
    options.minPauseMs = line.integer("--min-pause", 0, 60000);
    options.minRegionMs = line.integer("--min-region", 0, 60000);
    options.paddingMs = line.integer("--padding", 0, 10000);
    options.zeroCross = line.flag("--zero-cross");
    options.ipa = line.flag("--ipa");
    return options;
}

bool CuesFindOptions::any() const {
    return transcriptFile || text || thresholdDb || minPauseMs || minRegionMs || paddingMs ||
           zeroCross || ipa;
}

int runCuesFind(const std::vector<std::string>& args, const std::optional<std::string>& output,
                bool add, const CuesFindOptions& options, ConsoleUserInterface& ui) {
    if (args.size() != 3 || !output) {
        throw UsageError(
            "cues find expects pauses, words or phonemes, an input file and -o OUT.wav");
    }
    const std::string& kind = args[1];
    if (kind != "pauses" && kind != "words" && kind != "phonemes") {
        throw UsageError("cues find expects pauses, words or phonemes, not '" + kind + "'");
    }
    if (options.transcriptFile && options.text) {
        throw UsageError("--transcript and --text exclude each other");
    }
    if (kind == "pauses" ? options.ipa
                         : (options.thresholdDb || options.minPauseMs || options.minRegionMs)) {
        throw UsageError(kind == "pauses" ? "--ipa belongs to cues find phonemes"
                                          : "--threshold, --min-pause and --min-region belong "
                                            "to cues find pauses");
    }
    if (options.thresholdDb && (*options.thresholdDb <= 0 || *options.thresholdDb > 120)) {
        throw UsageError("--threshold must be above 0 and at most 120 dB");
    }
    std::string transcript;
    if (const Result read = transcriptOf(options, transcript); !read.ok()) {
        return failed(ui, read);
    }
    ImportedSound imported;
    if (const Result opened = SoundImporter::importFile(args[2], {}, {}, imported); !opened.ok()) {
        return failed(ui, opened);
    }
    if (const Result refused = InPlaceOutput::check(args[2], *output, imported); !refused.ok()) {
        return failed(ui, refused);
    }
    AudioDocument& doc = imported.document;
    const CueSearch search = searchOf(kind, options, transcript);
    std::vector<CuePoint> cues;
    if (const Result found = find(search, doc, cues); !found.ok()) {
        return failed(ui, found);
    }
    const size_t found = cues.size();
    const std::string advice = FoundRegionsAdvice::of(search, cues);
    doc.cues = add ? CueIdentifiers::merged(std::move(doc.cues), cues) : std::move(cues);
    if (WavWriter::writeDocument(*output, doc, ui) != 0) {
        return kExitFailed;
    }
    std::fprintf(*output == "-" ? stderr : stdout, "%zu regions found.\n", found);
    if (!advice.empty()) {
        std::fflush(stdout);
        ui.messageBox("Warning", advice, MessageIcon::Warning, MessageButtons::Ok);
    }
    return kExitOk;
}

}  // namespace murmelix::cli
