#include "cli/render_command.h"

#include <cmath>
#include <filesystem>

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

}  // namespace

int runRender(CommandLine& line, ConsoleUserInterface& ui) {
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
