#include "cli/render_command.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <limits>

#include "audio/audio_document.h"
#include "audio/wav_reader.h"
#include "base/absolute_path.h"
#include "base/text_format.h"
#include "cli/random_source_options.h"
#include "cli/segment_options.h"
#include "cli/session_access.h"
#include "session/session_date_time.h"
#include "session/session_file_operations.h"
#include "session/session_file_writer.h"
#include "synth/generation_settings.h"
#include "synth/offline_renderer.h"
#include "synth/random_source_draw.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix::cli {

namespace {

struct RenderOptions {
    std::string input;
    std::string output;
    std::optional<long long> segments;
    std::optional<double> seconds;
    SegmentControls controls;
    RandomSourceOptions source;
    std::optional<std::string> session;
    std::string question;
    std::string answer;
};

RenderOptions readOptions(CommandLine& line) {
    RenderOptions options;
    options.output = line.value("-o").value_or("");
    options.segments = line.integer("--segments", 1, 100'000'000);
    options.seconds = line.number("--seconds");
    options.controls = SegmentOptions::read(line);
    options.source = RandomSourceOptions::read(line);
    if (const auto session = line.value("--session")) {
        options.session = AbsolutePath::of(*session);
    }
    options.question = line.value("--question").value_or("");
    options.answer = line.value("--answer").value_or("");
    const auto rest = line.positionals();
    if (rest.size() != 1 || options.output.empty()) {
        throw UsageError("expects one input WAV file and -o OUT.wav");
    }
    options.input = AbsolutePath::of(rest.front());
    if (options.segments.has_value() == options.seconds.has_value()) {
        throw UsageError("expects either --segments N or --seconds S");
    }
    if (options.seconds && !(*options.seconds > 0 && *options.seconds <= 86400)) {
        throw UsageError("--seconds must be above 0 and at most 86400");
    }
    return options;
}

// The session the new sequence goes into: the file's, or a new one for this WAV file.
bool prepareSession(const RenderOptions& options, SessionFileContents& contents,
                    ConsoleUserInterface& ui) {
    const std::string wav = AbsolutePath::of(options.input);
    if (!std::filesystem::exists(*options.session)) {
        contents.version = 2;
        contents.wavFileName = wav;
        return true;
    }
    if (!readSessionFile(*options.session, contents, ui)) {
        return false;
    }
    if (contents.wavFileName.empty()) {
        contents.wavFileName = wav;
    } else if (!sameFile(contents.wavFileName, wav)) {
        ui.showError(formatText("Session file '%s' belongs to WAV file '%s', not to '%s'.",
                                options.session->c_str(), contents.wavFileName.c_str(),
                                options.input.c_str()));
        return false;
    }
    return true;
}

// The options sequence K of the session was made with, its seed replaced by `seed`: for the
// pseudo generator the seed itself, for the logistic map a start of its own. The speed is a
// playback setting; the rendered file plays at the recording's.
std::vector<std::string> likeArguments(const std::vector<std::string>& madeWith,
                                       const std::optional<std::string>& seed) {
    std::vector<std::string> out;
    std::string source = "pseudo";
    for (size_t i = 0; i < madeWith.size(); ++i) {
        const std::string& option = madeWith[i];
        const bool valued = i + 1 < madeWith.size() && madeWith[i + 1].rfind("--", 0) != 0;
        if (option == "--source" && valued) {
            source = madeWith[i + 1];
        }
        if (option == "--speed" || (seed && option == "--seed") ||
            (seed && option == "--x" && source == "fractal")) {
            i += valued ? 1 : 0;
            continue;
        }
        out.push_back(option);
    }
    if (seed && source != "fractal") {
        // A file or the sound card has no seed; the option is taken and changes nothing.
        out.insert(out.end(), {"--seed", *seed});
    } else if (seed) {
        const auto n = static_cast<unsigned long long>(
            parseInteger("--seed", *seed, 0, std::numeric_limits<long long>::max()));
        out.insert(out.end(),
                   {"--x", GenerationSettings::exact(GenerationSettings::startForSeed(n))});
    }
    return out;
}

// Sequence K of a session made again from the settings it was made with, on the session's
// recording and of its length (unless --segments or --seconds say otherwise).
int renderLike(const std::string& sessionPath, CommandLine& line, ConsoleUserInterface& ui) {
    const auto number = line.integer("--sequence", 1, std::numeric_limits<int32_t>::max());
    const auto seed = line.value("--seed");
    const auto output = line.value("-o");
    if (!number || !output) {
        throw UsageError("--like expects --sequence K and -o OUT.wav");
    }
    std::vector<std::string> passed = {"-o", *output};
    for (const char* option : {"--segments", "--seconds", "--session", "--question", "--answer"}) {
        if (const auto value = line.value(option)) {
            passed.insert(passed.end(), {option, *value});
        }
    }
    if (!line.positionals().empty()) {
        throw UsageError("--like takes the recording from the session, not as an argument");
    }
    SessionFileContents contents;
    if (!readSessionFile(sessionPath, contents, ui)) {
        return kExitFailed;
    }
    if (*number > static_cast<long long>(contents.sequences.size())) {
        ui.showError(formatText("Session file '%s' holds %zu sequences; there is no sequence %lld.",
                                sessionPath.c_str(), contents.sequences.size(), *number));
        return kExitFailed;
    }
    const SEQUENCE& sequence = *std::next(contents.sequences.begin(), *number - 1);
    if (sequence.madeWith.empty()) {
        ui.showError(formatText(
            "Sequence %lld of '%s' was made before Murmelix kept the settings of its sequences "
            "(or by another program): it cannot be made again.",
            *number, sessionPath.c_str()));
        return kExitFailed;
    }
    std::vector<std::string> arguments = {contents.wavFileName};
    const auto like = likeArguments(sequence.madeWith, seed);
    arguments.insert(arguments.end(), like.begin(), like.end());
    arguments.insert(arguments.end(), passed.begin(), passed.end());
    const bool sized = std::find(passed.begin(), passed.end(), "--segments") != passed.end() ||
                       std::find(passed.begin(), passed.end(), "--seconds") != passed.end();
    if (!sized && sequence.entries.empty()) {
        ui.showError(
            formatText("Sequence %lld of '%s' has no segments: give --segments or "
                       "--seconds.",
                       *number, sessionPath.c_str()));
        return kExitFailed;
    }
    if (!sized) {
        arguments.insert(arguments.end(), {"--segments", std::to_string(sequence.entries.size())});
    }
    CommandLine again(arguments);
    return runRender(again, ui);
}

}  // namespace

int runRender(CommandLine& line, ConsoleUserInterface& ui) {
    if (const auto like = line.value("--like")) {
        return renderLike(AbsolutePath::of(*like), line, ui);
    }
    const RenderOptions options = readOptions(line);
    if (options.session && !SessionFileWriter::storable(options.input)) {
        ui.showError(SessionFileOperations::unstorableWavNameMessage(options.input));
        return kExitFailed;
    }
    AudioDocument doc;
    if (WavReader::readFile(options.input, doc, ui) != 0) {
        return kExitFailed;
    }
    SessionFileContents session;
    if (options.session && !prepareSession(options, session, ui)) {
        return kExitFailed;
    }
    const auto input = makeNoiseInput();
    RandomSource source(ui, *input);
    source.setDocument(&doc);
    options.source.configure(source);
    const std::vector<std::string> madeWith =
        GenerationSettings::arguments(options.controls, source, 100);
    source.beginRun();
    RandomSourceDraw draw(source);

    OfflineRenderer::Limit limit;
    if (options.segments) {
        limit.segments = *options.segments;
    } else {
        limit.frames = static_cast<int64_t>(std::ceil(*options.seconds * doc.fileSampleRate));
    }
    OfflineRenderer renderer;
    auto sequence = renderer.render(doc, options.controls, draw, limit, ui);
    if (!sequence) {
        return kExitFailed;
    }
    if (sequence->entries.empty()) {
        ui.showError(formatText("No segment could be chosen; '%s' was not written.",
                                options.output.c_str()));
        return kExitFailed;
    }
    sequence->dateTime = SessionDateTime::now().storedForm();
    sequence->question = options.question;
    sequence->answer = options.answer;
    sequence->madeWith = madeWith;
    if (SequenceWavWriter::write(options.output, *sequence, doc, AbsolutePath::of(options.input),
                                 ui) != 0) {
        return kExitFailed;
    }
    if (options.session) {
        session.sequences.push_back(std::move(*sequence));
        if (!saveSessionFile(*options.session, session, ui)) {
            return kExitFailed;
        }
    }
    return renderer.halted() ? kExitFailed : kExitOk;
}

}  // namespace murmelix::cli
