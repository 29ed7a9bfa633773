#include "app/program.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "audio/signal_effects.h"
#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "base/absolute_path.h"
#include "base/path_text.h"
#include "base/text_format.h"
#include "base/user_interface.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix {

Program::Program(UserInterface& ui, Devices devices, ProgramView* view)
    : source(ui, noiseInput_),
      log(ui),
      workflow(session),
      sessionFiles(session, ui),
      ui_(ui),
      devices_(devices),
      view_(view != nullptr ? *view : noView_),
      noiseInput_(devices.noiseInput),
      transport_({document, controls, source, log, session, workflow, devices.output, ui, *this}),
      recorder_({document, devices.recordInput, transport_, ui, [this] { return !CloseDocument(); },
                 [this] { UpdateTitleAndStatus(); }}) {
    source.setDocument(&document);
    source.setLogSink([this](std::string_view text) { log.WriteLogLine(text); });
    workflow.hooks() = sessionHooks();
    sessionFiles.hooks() = sessionHooks();
}

SessionHooks Program::sessionHooks() {
    SessionHooks hooks;
    hooks.documentFileName = [this] { return document.fileName; };
    hooks.openWavFile = [this](const std::string& path) { return OpenWav(path); };
    hooks.refreshPanel = [this] { view_.refreshSessionPanel(); };
    hooks.refreshControls = [this] { view_.refreshCommands(); };
    hooks.startFolder = [this](SessionFolder kind) {
        return startFolder(kind == SessionFolder::SessionFiles ? sessionFolder : wavFolder);
    };
    hooks.rememberFolder = [this](SessionFolder kind, const std::string& folder) {
        (kind == SessionFolder::SessionFiles ? sessionFolder : wavFolder) = folder;
    };
    return hooks;
}

int Program::OpenWav(const std::string& path) {
    std::string name = path;
    if (name.empty()) {
        FileDialogRequest request;
        request.title = "Open WAV file...";
        request.filter = "WAV Files (*.wav)|*.wav|All Files (*.*)|*.*";
        request.defaultExtension = "*.wav";
        request.startFolder = startFolder(wavFolder);
        request.mustExist = true;
        const auto chosen = ui_.openFileDialog(request);
        if (!chosen) {
            return 1;
        }
        name = *chosen;
    }
    // A session keeps this name to find its recording again, from whatever folder the
    // program is started in next time.
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(name, error);
    if (!error) {
        name = full.lexically_normal().string();
    }
    wavFolder = PathText::folderPartOf(name);
    if (CloseDocument()) {
        return 1;
    }
    const int result = WavReader::readFile(name, document, ui_);
    if (result == 0) {
        UpdateTitleAndStatus();
    } else {
        document.clear();
        ui_.setCaption(kDefaultCaption);
        ui_.setApplicationTitle("Murmelix");
    }
    transport_.SetTransportMode(TransportMode::tmIdle);
    return result;
}

void Program::UpdateTitleAndStatus() {
    const std::string name =
        document.fileName.empty() ? "New File" : PathText::fileNameOf(document.fileName);
    const std::string title = formatText("%s - %s", name.c_str(), kDefaultCaption);
    ui_.setCaption(title);
    ui_.setApplicationTitle(title);
    ui_.setStatusText(
        0, formatText("Sample: %d Hz \xC2\xB7 %d Bit \xC2\xB7 %s", document.fileSampleRate,
                      document.bitsPerSample(), document.channels() == 1 ? "Mono" : "Stereo"));
    ui_.setStatusText(1, formatText("Cues: %d", document.cueCount()));
    ui_.setStatusText(2, formatText("Time: %.3f s", document.durationSeconds()));
}

bool Program::SaveDocument(bool ask) {
    if (!document.changed) {
        return false;
    }
    if (ask) {
        const MessageResult answer = ui_.messageBox(
            "Warning", kSaveWavQuestion, MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageResult::No) {
            document.changed = false;
            return false;
        }
        if (answer != MessageResult::Yes) {
            return true;
        }
    }
    FileDialogRequest request;
    request.title = "Save WAV file...";
    request.filter = "WAV Files (*.wav)|*.wav|All Files (*.*)|*.*";
    request.defaultExtension = "*.wav";
    request.presetName = document.fileName;
    request.startFolder = startFolder(wavFolder);
    const auto chosen = ui_.saveFileDialog(request);
    if (!chosen) {
        return true;
    }
    wavFolder = PathText::folderPartOf(*chosen);
    if (WavWriter::writeDocument(*chosen, document, ui_) != 0) {
        return true;
    }
    document.fileName = *chosen;
    document.changed = false;
    const std::string title =
        formatText("%s - %s", PathText::fileNameOf(*chosen).c_str(), kDefaultCaption);
    ui_.setCaption(title);
    ui_.setApplicationTitle(title);
    transport_.SetTransportMode(TransportMode::tmIdle);
    return false;
}

bool Program::CloseDocument() {
    if (sessionFiles.closeSession() == SessionOutcome::Cancelled) {
        return true;
    }
    if (SaveDocument(true)) {
        return true;
    }
    document.clear();
    ui_.setCaption(kDefaultCaption);
    ui_.setApplicationTitle("Murmelix");
    ui_.setStatusText(0, "");
    ui_.setStatusText(1, "");
    ui_.setStatusText(2, "");
    transport_.SetTransportMode(TransportMode::tmIdle);
    return false;
}

void Program::OpenByExtension(const std::string& name) {
    // Names given to the program start from its current folder; kept or shown later,
    // they must not depend on it.
    const std::string path = AbsolutePath::of(name);
    const std::string extension = PathText::lowerExtension(path);
    if (extension == ".wav") {
        wavFolder = PathText::folderPartOf(path);
        OpenWav(path);
    } else if (extension == ".pcm") {
        source.setSourceFolder(PathText::folderPartOf(path));
        source.SelectRandomSource(static_cast<int32_t>(RandomSourceKind::File), path, false);
    } else if (extension == ".oqt") {
        sessionFiles.openSession(path);
    } else {
        ui_.showError(kUnknownFileType);
    }
}

void Program::setUseSeparateFolders(bool on) {
    useSeparateFolders_ = on;
    source.setUseSeparateFolders(on);
    log.setUseSeparateFolders(on);
}

bool Program::ExportSequence() {
    if (session.empty()) {
        return false;
    }
    FileDialogRequest request;
    request.title = "Export current sequence as WAV file...";
    request.filter = "WAV Files (*.wav)|*.wav|All Files (*.*)|*.*";
    request.defaultExtension = "*.wav";
    request.presetName = workflow.exportNameProposal();
    request.startFolder = startFolder(exportFolder);
    const auto chosen = ui_.saveFileDialog(request);
    if (!chosen) {
        return false;
    }
    exportFolder = PathText::folderPartOf(*chosen);
    return SequenceWavWriter::write(*chosen, *session.current(), document, session.wavFileName,
                                    ui_) == 0;
}

bool Program::EditSequence() {
    if (session.empty()) {
        return false;
    }
    const std::string path = editorFilePath();
    if (SequenceWavWriter::write(path, *session.current(), document, session.wavFileName, ui_) !=
        0) {
        return false;
    }
    view_.openWithDesktop(path);
    return true;
}

// A program started from the desktop often runs in a folder it may not write (the root
// folder, an installed program's folder); the hand-off must not fail for that. Permission
// bits say nothing for the superuser or on read-only mounts, so a probe file decides.
std::string Program::editorFilePath() {
    constexpr const char* kName = "murmelix.wav";
    char probe[] = "./.murmelix-probe-XXXXXX";
    const int fd = ::mkstemp(probe);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe);
        return kName;
    }
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    return error ? std::string(kName) : (temporary / kName).string();
}

void Program::PlaySession() {
    transport_.PlaySequences(session.sequences().begin(), session.count());
}

void Program::PlayCurrentSequence() {
    if (!session.empty()) {
        transport_.PlaySequences(session.currentPosition(), 1);
    }
}

void Program::afterEffect() {
    document.changed = true;
    transport_.SetTransportMode(TransportMode::tmIdle);
}

void Program::Reverse() {
    if (document.loaded && idle()) {
        SignalEffects::reverse(document);
        afterEffect();
    }
}

void Program::AddEcho() {
    if (!document.loaded || !idle()) {
        return;
    }
    int delay = echoDelayMs;
    int decay = echoDecayPercent;
    if (!ui_.askEchoParameters(delay, decay)) {
        return;
    }
    echoDelayMs = delay;
    echoDecayPercent = decay;
    Echo(delay, decay);
}

void Program::Echo(int delayMs, int decayPercent) {
    if (document.loaded && idle()) {
        SignalEffects::echo(document, delayMs, decayPercent);
        afterEffect();
    }
}

void Program::Normalize() {
    if (document.loaded && idle() && SignalEffects::normalize(document)) {
        afterEffect();
    }
}

RandomNumberLog::ExportResult Program::ExportRandomNumbers() {
    RandomNumberLog::ExportResult result;
    result.outcome = RandomNumberLog::ExportOutcome::Cancelled;
    int count = writeCount;
    if (!ui_.askWriteCount(count)) {
        return result;
    }
    writeCount = count;
    if (count < 1) {
        return result;
    }
    const auto chosen = ui_.saveFileDialog(log.exportDialogRequest());
    if (!chosen) {
        return result;
    }
    log.rememberOutputFolder(*chosen);
    const int64_t total = count;
    // A million sound-card numbers take minutes: the window keeps showing how far it got
    // and can stop the export.
    result = log.ExportRandomNumbers(source, total, *chosen, [this, total](int64_t done) {
        return done % kProgressStep != 0 || ui_.showProgress(kExportProgress, done, total);
    });
    ui_.showProgress(kExportProgress, total, total);
    return result;
}

void Program::pumpDevices() {
    transport_.pumpDone();
    recorder_.pumpDone();
}

void Program::applyTransportMode(TransportMode) {
    view_.refreshCommands();
}
void Program::showSegmentNumber(int32_t number) {
    view_.showSegmentNumber(number);
}
void Program::showPaused(bool paused) {
    view_.showPaused(paused);
}
void Program::startStopTimer(int milliseconds) {
    view_.startStopTimer(milliseconds);
}
void Program::stopStopTimer() {
    view_.stopStopTimer();
}
void Program::stopRecording() {
    recorder_.stop();
}
void Program::sessionChanged() {
    view_.refreshSessionPanel();
}

}  // namespace murmelix
