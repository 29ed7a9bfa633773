#include "cli/device_commands.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "audio/wav_writer.h"
#include "base/absolute_path.h"
#include "base/text_format.h"
#include "cli/random_source_options.h"
#include "cli/segment_options.h"
#include "cli/session_access.h"
#include "cli/sound_session.h"
#include "device/device_list.h"
#include "device/port_audio_library.h"

namespace murmelix::cli {

namespace {

void printDevices(const char* heading, DeviceList::Direction direction) {
    std::printf("%s:\n  -1  (system default)\n", heading);
    const auto names = DeviceList::names(direction);
    for (size_t i = 0; i < names.size(); ++i) {
        std::printf("  %2zu  %s\n", i, names[i].c_str());
    }
}

std::chrono::milliseconds secondsOption(CommandLine& line, bool required) {
    const auto seconds = line.number("--seconds");
    if (!seconds) {
        if (required) {
            throw UsageError("expects --seconds S");
        }
        return std::chrono::milliseconds(0);
    }
    if (!(*seconds > 0 && *seconds <= 86400)) {
        throw UsageError("--seconds must be above 0 and at most 86400");
    }
    return std::chrono::milliseconds(static_cast<int64_t>(std::llround(*seconds * 1000)));
}

int speedOption(CommandLine& line) {
    return static_cast<int>(line.integer("--speed", 50, 200).value_or(100));
}

int deviceOption(CommandLine& line) {
    return static_cast<int>(
        line.integer("--device", -1, std::numeric_limits<int>::max()).value_or(-1));
}

// Loads the session file to record into (or starts one for the WAV file) into the program.
bool openSessionFor(Program& program, const std::string& sessionPath, const std::string& wavPath,
                    UserInterface& ui) {
    SessionFileContents contents;
    if (std::filesystem::exists(sessionPath)) {
        if (!readSessionFile(sessionPath, contents, ui)) {
            return false;
        }
        if (!contents.wavFileName.empty() && !sameFile(contents.wavFileName, wavPath)) {
            ui.showError(formatText("Session file '%s' belongs to WAV file '%s', not to '%s'.",
                                    sessionPath.c_str(), contents.wavFileName.c_str(),
                                    wavPath.c_str()));
            return false;
        }
    }
    program.session().assignSequences(std::move(contents.sequences));
    program.session().wavFileName = AbsolutePath::of(wavPath);
    program.session().sessionFileName = sessionPath;
    program.session().recordMode = true;
    return true;
}

int playOqt(CommandLine& line, ConsoleUserInterface& ui) {
    const auto duration = secondsOption(line, true);
    const int speed = speedOption(line);
    const int device = deviceOption(line);
    const SegmentControls controls = SegmentOptions::read(line);
    const RandomSourceOptions sourceOptions = RandomSourceOptions::read(line);
    const auto sessionPath = line.value("--session");
    const std::string question = line.value("--question").value_or("");
    const auto files = line.positionals();
    if (files.size() != 1) {
        throw UsageError("expects one WAV file");
    }
    SoundSession sound(ui);
    Program& program = sound.program();
    if (!sound.soundAvailable() || program.OpenWav(AbsolutePath::of(files[0])) != 0) {
        return kExitFailed;
    }
    if (sessionPath && !openSessionFor(program, *sessionPath, files[0], ui)) {
        return kExitFailed;
    }
    program.setSegmentControls(controls);
    sourceOptions.configure(program.source());
    program.transport().outputDeviceId = device;
    program.SetPlaybackSpeed(speed);
    ui.setTextAnswer(question);
    program.MakeOqt();
    if (program.mode() != TransportMode::tmRandomPlay) {
        return kExitFailed;
    }
    const uint32_t underflowsBefore = program.outputUnderflows();
    sound.runUntilIdle(duration);
    const int generated = program.transport().synthesizer().generatedCount();
    std::fprintf(stderr, "%d segments queued, %d heard, %u underflows\n", generated,
                 program.transport().heardCount(), program.outputUnderflows() - underflowsBefore);
    if (sessionPath) {
        SessionFileContents contents;
        contents.version = 2;
        contents.wavFileName = program.session().wavFileName;
        contents.sequences = program.session().sequences();
        if (!saveSessionFile(*sessionPath, contents, ui)) {
            return kExitFailed;
        }
    }
    const bool failed = program.source().halted() || program.transport().streamFailed();
    return failed ? kExitFailed : kExitOk;
}

}  // namespace

int runDevices(CommandLine& line, ConsoleUserInterface& ui) {
    if (!line.positionals().empty()) {
        throw UsageError("takes no arguments");
    }
    PortAudioLibrary library;
    if (library.status() != 0) {
        ui.showError(formatText("The sound system could not be started: %s",
                                PortAudioLibrary::describe(library.status()).c_str()));
        return kExitFailed;
    }
    printDevices("Output devices", DeviceList::Direction::Output);
    printDevices("Input devices", DeviceList::Direction::Input);
    return kExitOk;
}

int runPlay(CommandLine& line, ConsoleUserInterface& ui) {
    if (line.flag("--oqt")) {
        return playOqt(line, ui);
    }
    const int speed = speedOption(line);
    const int device = deviceOption(line);
    const auto files = line.positionals();
    if (files.size() != 1) {
        throw UsageError("expects one WAV file");
    }
    SoundSession sound(ui);
    Program& program = sound.program();
    if (!sound.soundAvailable() || program.OpenWav(files[0]) != 0) {
        return kExitFailed;
    }
    program.transport().outputDeviceId = device;
    program.SetPlaybackSpeed(speed);
    program.PlayWavFile();
    if (program.mode() != TransportMode::tmPlay) {
        return kExitFailed;
    }
    sound.runUntilIdle();
    return program.transport().streamFailed() ? kExitFailed : kExitOk;
}

namespace {

// Answers the recording parameters dialog with the tool's options.
class RecordingUserInterface : public ConsoleUserInterface {
  public:
    explicit RecordingUserInterface(RecordingParameters parameters) : parameters_(parameters) {}
    bool askRecordingParameters(RecordingParameters& parameters) override {
        parameters = parameters_;
        return true;
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return path; }
    std::optional<std::string> path;

  private:
    RecordingParameters parameters_;
};

}  // namespace

int runRecord(CommandLine& line, ConsoleUserInterface&) {
    const auto output = line.value("-o");
    const auto duration = secondsOption(line, true);
    RecordingParameters parameters;
    parameters.sampleRateText =
        std::to_string(line.integer("--rate", 1000, 384000).value_or(22050));
    parameters.channelsIndex = static_cast<int>(line.integer("--channels", 1, 2).value_or(1)) - 1;
    const long long bits = line.integer("--bits", 8, 16).value_or(16);
    if (bits != 8 && bits != 16) {
        throw UsageError("--bits must be 8 or 16");
    }
    parameters.resolutionIndex = bits == 8 ? 0 : 1;
    parameters.normalize = line.flag("--normalize");
    const int device = deviceOption(line);
    if (!output || !line.positionals().empty()) {
        throw UsageError("expects -o OUT.wav");
    }
    RecordingUserInterface ui(parameters);
    ui.path = *output;
    SoundSession sound(ui);
    Program& program = sound.program();
    if (!sound.soundAvailable()) {
        return kExitFailed;
    }
    program.recorder().inputDeviceId = device;
    program.StartRecording();
    if (program.mode() != TransportMode::tmRecord) {
        return kExitFailed;
    }
    sound.runUntilIdle(duration);
    if (!program.document().loaded) {
        ui.showError(formatText("Nothing was recorded; '%s' was not written.", output->c_str()));
        return kExitFailed;
    }
    return program.SaveDocument(false) ? kExitFailed : kExitOk;
}

}  // namespace murmelix::cli
