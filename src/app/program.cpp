#include "app/program.h"

#include "app/held_messages.h"
#include "app/sequence_transcriber.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "audio/signal_effects.h"
#include "audio/sound_file_info.h"
#include "audio/sound_importer.h"
#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "base/absolute_path.h"
#include "base/background_task.h"
#include "base/path_text.h"
#include "base/text_format.h"
#include "base/user_interface.h"
#include "session/session_table.h"
#include "speech/speech_regions.h"
#include "synth/generation_settings.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix {

Program::Program(UserInterface& ui, Devices devices, ProgramView* view)
    : ui_(ui),
      source_(ui, noiseInput_, this, &folders_),
      log_(ui, &folders_),
      workflow_(session_, ui, this),
      sessionFiles_(session_, ui, this),
      devices_(devices),
      view_(view != nullptr ? *view : noView_),
      noiseInput_(devices.noiseInput),
      transport_(
          {document_, controls_, source_, log_, session_, workflow_, devices.output, ui, *this}),
      recorder_({document_, devices.recordInput, transport_, ui, *this}) {
    source_.setDocument(&document_);
}

int Program::OpenWav(const std::string& path) {
    return openWav(path, true);
}

std::optional<std::string> Program::chooseFile(const char* title, const std::string& filter) {
    FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.defaultExtension = "*.wav";
    request.startFolder = folders_.startFolder(Folders::Kind::Wav);
    request.mustExist = true;
    return ui_.openFileDialog(request);
}

int Program::openWav(const std::string& path, bool offerImport) {
    std::string name = path;
    if (name.empty()) {
        const auto chosen = chooseFile("Open WAV file...", openFilter());
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
    folders_.rememberFolderOf(Folders::Kind::Wav, name);
    const std::string extension = PathText::lowerExtension(name);
    if (offerImport && extension != ".wav" && isImportExtension(extension)) {
        return ImportSound(name).ok() ? 0 : 1;
    }
    if (CloseDocument()) {
        return 1;
    }
    HeldMessages readerMessages(ui_);
    const int result = WavReader::readFile(
        name, document_, offerImport ? static_cast<UserInterface&>(readerMessages) : ui_);
    documentReplaced();
    if (result == 0) {
        readerMessages.release();
        UpdateTitleAndStatus();
    } else {
        document_.clear();
        ui_.setCaption(kDefaultCaption);
        ui_.setApplicationTitle("Murmelix");
    }
    transport_.SetTransportMode(TransportMode::tmIdle);
    if (result != 0 && offerImport && this->offerImport(name, readerMessages)) {
        return 0;
    }
    return result;
}

// The reader refused the file; libsndfile may still know it, and then the one question is
// whether to import it (the reader's advice to choose another file would contradict it).
// When it does not either, the reader's messages are shown, and the person learns which
// file it was and what is wrong with it (the reader's own messages do not always name the
// file); a file that is not there was named already.
bool Program::offerImport(const std::string& path, HeldMessages& readerMessages) {
    SoundFileInfo info;
    const Result probed = SoundFileInfo::probe(path, info);
    if (!probed.ok()) {
        readerMessages.release();
        if (::access(path.c_str(), R_OK) == 0) {
            ui_.showError(probed.message());
        }
        return false;
    }
    readerMessages.drop();
    const std::string question =
        formatText(kImportQuestion, PathText::fileNameOf(path).c_str(), info.describe().c_str());
    if (ui_.messageBox("Import", question, MessageIcon::Question, MessageButtons::YesNo) !=
        MessageResult::Yes) {
        return false;
    }
    return ImportSound(path).ok();
}

bool Program::isImportExtension(const std::string& lowerExtension) {
    return std::any_of(kSoundExtensions.begin(), kSoundExtensions.end(),
                       [&](const char* known) { return lowerExtension == known; });
}

namespace {

constexpr const char* kWavFilter = "WAV Files (*.wav)|*.wav";
constexpr const char* kAllFilter = "|All Files (*.*)|*.*";

std::string soundFilesFilter() {
    std::string patterns;
    for (const char* extension : Program::kSoundExtensions) {
        patterns += (patterns.empty() ? "*" : ";*") + std::string(extension);
    }
    return "Sound Files|" + patterns;
}

}  // namespace

std::string Program::openFilter() {
    return kWavFilter + ("|" + soundFilesFilter()) + kAllFilter;
}

std::string Program::importFilter() {
    return soundFilesFilter() + "|" + kWavFilter + kAllFilter;
}

std::string Program::unusedName(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) {
        return path;
    }
    const std::string stem = PathText::withoutExtension(path);
    const std::string extension = path.substr(stem.size());
    for (int n = 1; n < 100; ++n) {
        const std::string candidate =
            stem + (n == 1 ? std::string(" (imported)") : formatText(" (imported %d)", n)) +
            extension;
        if (!std::filesystem::exists(candidate, error)) {
            return candidate;
        }
    }
    return path;  // the save dialog asks before it replaces a file
}

Result Program::ImportSound(const std::string& path) {
    std::string name = path;
    if (name.empty()) {
        const auto chosen = chooseFile("Import sound file...", importFilter());
        if (!chosen) {
            return Result::cancel();
        }
        name = *chosen;
    }
    name = AbsolutePath::of(name);
    folders_.rememberFolderOf(Folders::Kind::Wav, name);
    // The open document stays until the new one is there: a cancelled or failed import
    // leaves the person where they were.
    ImportedSound imported;
    Result result = RunInBackground(kImportProgress, [&name, &imported](const auto& progress) {
        return SoundImporter::importFile(name, SoundImportOptions{}, progress, imported);
    });
    if (result.failed()) {
        ui_.showError(result.message());
    } else if (result.ok() && CloseDocument()) {
        result = Result::cancel();
    } else if (result.ok()) {
        adoptImport(imported, name);
    }
    transport_.SetTransportMode(TransportMode::tmIdle);
    return result;
}

void Program::adoptImport(ImportedSound& imported, const std::string& source) {
    document_ = std::move(imported.document);
    // Nothing the person did yet, and the source file still holds all of it: closing the
    // document as it came loses nothing, so it does not ask to save it.
    document_.changed = false;
    documentReplaced();
    importDescription_ = imported.description;
    importProposedName_ = imported.proposedName;
    importSourceName_ = PathText::fileNameOf(source);
    UpdateTitleAndStatus();
    // Nothing the file held may go unnoticed: clipped peaks and a cut end are told.
    if (imported.clippedSamples > 0 || imported.framesLeftOut > 0) {
        ui_.messageBox("Warning", imported.summary(), MessageIcon::Warning, MessageButtons::Ok);
    }
}

// The work runs on a worker; the UI thread shows how far it got, a few times a second, and
// passes Cancel on. The worker's results are read only after it has ended.
Result Program::RunInBackground(const char* text, const BackgroundWork& work) {
    Result result = Result::cancel();
    working_ = true;
    {
        BackgroundTask task([&work, &result](BackgroundTask& worker) {
            const auto progress = [&worker](int64_t done, int64_t total) {
                worker.report(done, total);
                return !worker.cancelled();
            };
            result = work(progress);
        });
        bool finished = false;
        while (!finished) {
            const int64_t done = task.done();
            if (!ui_.showProgress(text, done, std::max(task.total(), done + 1))) {
                task.cancel();
            }
            finished = task.waitFor(kProgressInterval);
        }
    }
    ui_.showProgress(text, 1, 1);
    working_ = false;
    return result;
}

Result Program::FindCueRegions(const CueSearch& search, std::vector<CuePoint>& found) {
    if (!document_.loaded || !idle()) {
        return Result::failure(
            "Cue regions can be found only in a loaded recording that is "
            "not playing or recording.");
    }
    const AudioDocument& doc = document_;
    return RunInBackground(kFindProgress, [&doc, &search, &found](const auto& progress) {
        switch (search.kind) {
            case CueSearch::Kind::Words:
                return SpeechRegions::findWords(doc, search.recognition, progress, found);
            case CueSearch::Kind::Phonemes:
                return SpeechRegions::findPhonemes(doc, search.recognition, progress, found);
            case CueSearch::Kind::Pauses:
                break;
        }
        return SpeechRegions::findPauses(doc, search.pauses, progress, found);
    });
}

Result Program::PlayClip(const std::string& path) {
    if (!idle()) {
        return Result::cancel();
    }
    AudioDocument clip;
    if (WavReader::readFile(path, clip, ui_) != 0) {
        return Result::failure("The clip '" + path + "' cannot be read.");
    }
    clip_ = std::move(clip);
    transport_.PlaySound(clip_);
    return transport_.mode() == TransportMode::tmPlay ? Result::success() : Result::cancel();
}

Result Program::TranscribeSequences(bool all) {
    if (session_.empty() || !document_.loaded || !idle()) {
        const Result refused = Result::failure(
            "An OQT can be transcribed only in a session whose recording is loaded, while "
            "nothing plays or records.");
        ui_.showError(refused.message());
        return refused;
    }
    // The worker hears copies: the session stays the UI thread's alone.
    std::vector<SEQUENCE> chosen;
    for (const SEQUENCE& sequence : session_.sequences()) {
        if (all || &sequence == session_.current()) {
            chosen.push_back(sequence);
        }
    }
    std::vector<std::optional<std::vector<MachineWord>>> heard(chosen.size());
    const AudioDocument& doc = document_;
    const Result result = RunInBackground(kTranscribeProgress, [&chosen, &heard,
                                                                &doc](const auto& progress) {
        const auto count = static_cast<int64_t>(chosen.size());
        for (int64_t i = 0; i < count; ++i) {
            const auto within = [&progress, i, count](int64_t done, int64_t total) {
                return progress(i * 1000 + done * 1000 / std::max<int64_t>(total, 1), count * 1000);
            };
            std::vector<MachineWord> words;
            if (Result one = SequenceTranscriber::transcribe(chosen[i], doc, {}, within, words);
                !one.ok()) {
                return one;
            }
            heard[i] = std::move(words);
        }
        return Result::success();
    });
    size_t at = 0;
    const SEQUENCE* current = session_.current();
    session_.forEachSequence([&](SEQUENCE& sequence) {
        if (!all && &sequence != current) {
            return;
        }
        if (heard[at]) {
            sequence.machineWords = std::move(heard[at]);
            session_.changed = true;
        }
        ++at;
    });
    if (result.failed()) {
        ui_.showError(result.message());
    }
    view_.refreshSessionPanel();
    view_.refreshCommands();
    return result;
}

bool Program::ExportSessionTable() {
    const std::string proposal =
        session_.sessionFileName.empty()
            ? std::string()
            : PathText::withoutExtension(PathText::fileNameOf(session_.sessionFileName)) + ".csv";
    const auto chosen = ui_.saveFileDialog(
        {"Export session table...", "CSV tables (*.csv)|*.csv|All Files (*.*)|*.*", "*.csv",
         startFolder(SessionFolder::SessionFiles), proposal, false, true});
    if (!chosen || chosen->empty()) {
        return false;
    }
    if (Result written = SessionTable::write(*chosen, session_.sequences(), document_.cues);
        !written.ok()) {
        ui_.showError(written.message());
        return false;
    }
    return true;
}

void Program::forgetImport() {
    importDescription_.clear();
    importProposedName_.clear();
    importSourceName_.clear();
}

void Program::UpdateTitleAndStatus() {
    std::string name =
        document_.fileName.empty() ? "New File" : PathText::fileNameOf(document_.fileName);
    std::string origin;
    if (document_.fileName.empty() && !importDescription_.empty()) {
        name = formatText("%s (%s)", importSourceName_.c_str(), importDescription_.c_str());
        origin = importDescription_ + " \xC2\xB7 ";
    }
    showTitle(name);
    ui_.setStatusText(0, origin + formatText("Sample: %d Hz \xC2\xB7 %d Bit \xC2\xB7 %s",
                                             document_.fileSampleRate, document_.bitsPerSample(),
                                             document_.channels() == 1 ? "Mono" : "Stereo"));
    ui_.setStatusText(1, formatText("Cues: %d", document_.cueCount()));
    ui_.setStatusText(2, formatText("Time: %.3f s", document_.durationSeconds()));
}

void Program::showTitle(const std::string& name) {
    const std::string title =
        formatText("%s%s - %s", document_.changed ? "*" : "", name.c_str(), kDefaultCaption);
    ui_.setCaption(title);
    ui_.setApplicationTitle(title);
}

bool Program::SaveDocument(bool ask) {
    // A document that is in no file yet (an import as it came) is saved when asked to, but
    // closing it loses nothing the person did.
    const bool inNoFile = document_.loaded && document_.fileName.empty();
    if (!document_.changed && (ask || !inNoFile)) {
        return false;
    }
    if (ask) {
        const MessageResult answer = ui_.messageBox(
            "Warning", kSaveWavQuestion, MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageResult::No) {
            document_.changed = false;
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
    request.presetName =
        document_.fileName.empty() ? unusedName(importProposedName_) : document_.fileName;
    request.startFolder = folders_.startFolder(Folders::Kind::Wav);
    const auto chosen = ui_.saveFileDialog(request);
    if (!chosen) {
        return true;
    }
    folders_.rememberFolderOf(Folders::Kind::Wav, *chosen);
    if (WavWriter::writeDocument(*chosen, document_, ui_) != 0) {
        return true;
    }
    document_.fileName = *chosen;
    document_.changed = false;
    forgetImport();
    showTitle(PathText::fileNameOf(*chosen));
    transport_.SetTransportMode(TransportMode::tmIdle);
    return false;
}

bool Program::CloseDocument() {
    if (sessionFiles_.closeSession() == SessionOutcome::Cancelled) {
        return true;
    }
    if (SaveDocument(true)) {
        return true;
    }
    document_.clear();
    forgetImport();
    documentReplaced();
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
        folders_.rememberFolderOf(Folders::Kind::Wav, path);
        OpenWav(path);
    } else if (isImportExtension(extension)) {
        (void)ImportSound(path);
    } else if (extension == ".pcm") {
        folders_.rememberFolderOf(Folders::Kind::RandomSource, path);
        source_.SelectRandomSource(static_cast<int32_t>(RandomSourceKind::File), path, false);
    } else if (extension == ".oqt") {
        sessionFiles_.openSession(path);
    } else {
        ui_.showError(kUnknownFileType);
    }
}

void Program::setSegmentControls(const SegmentControls& controls) {
    controls_ = controls;
    controls_.deriveLengths(document_);
}

bool Program::ExportSequence() {
    if (session_.empty()) {
        return false;
    }
    FileDialogRequest request;
    request.title = "Export current sequence as WAV file...";
    request.filter = "WAV Files (*.wav)|*.wav|All Files (*.*)|*.*";
    request.defaultExtension = "*.wav";
    request.presetName = workflow_.exportNameProposal();
    request.startFolder = folders_.startFolder(Folders::Kind::Export);
    const auto chosen = ui_.saveFileDialog(request);
    if (!chosen) {
        return false;
    }
    folders_.rememberFolderOf(Folders::Kind::Export, *chosen);
    return SequenceWavWriter::write(*chosen, *session_.current(), document_, session_.wavFileName,
                                    ui_) == 0;
}

bool Program::EditSequence() {
    if (session_.empty()) {
        return false;
    }
    const std::string path = editorFilePath();
    if (SequenceWavWriter::write(path, *session_.current(), document_, session_.wavFileName, ui_) !=
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
    transport_.PlaySequences(session_.sequences().begin(), session_.count());
}

void Program::PlayCurrentSequence() {
    if (!session_.empty()) {
        transport_.PlaySequences(session_.currentPosition(), 1);
    }
}

void Program::afterEffect() {
    document_.changed = true;
    documentReplaced();
    UpdateTitleAndStatus();
    transport_.SetTransportMode(TransportMode::tmIdle);
}

void Program::Reverse() {
    if (document_.loaded && idle()) {
        SignalEffects::reverse(document_);
        afterEffect();
    }
}

void Program::AddEcho() {
    if (!document_.loaded || !idle()) {
        return;
    }
    int delay = dialogValues_.echoDelayMs;
    int decay = dialogValues_.echoDecayPercent;
    if (!ui_.askEchoParameters(delay, decay)) {
        return;
    }
    dialogValues_.echoDelayMs = delay;
    dialogValues_.echoDecayPercent = decay;
    Echo(delay, decay);
}

void Program::Echo(int delayMs, int decayPercent) {
    if (document_.loaded && idle()) {
        SignalEffects::echo(document_, delayMs, decayPercent);
        afterEffect();
    }
}

void Program::Normalize() {
    if (document_.loaded && idle() && SignalEffects::normalize(document_)) {
        afterEffect();
    }
}

RandomNumberLog::ExportResult Program::ExportRandomNumbers() {
    RandomNumberLog::ExportResult result;
    result.outcome = RandomNumberLog::ExportOutcome::Cancelled;
    int count = dialogValues_.writeCount;
    if (!ui_.askWriteCount(count)) {
        return result;
    }
    dialogValues_.writeCount = count;
    if (count < 1) {
        return result;
    }
    const auto chosen = ui_.saveFileDialog(log_.exportDialogRequest());
    if (!chosen) {
        return result;
    }
    log_.rememberOutputFolder(*chosen);
    const int64_t total = count;
    // A million sound-card numbers take minutes: the window keeps showing how far it got
    // and can stop the export.
    result = log_.ExportRandomNumbers(source_, total, *chosen, [this, total](int64_t done) {
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
void Program::showSegmentSpan(int64_t firstFrame, int64_t frames) {
    view_.showSegmentSpan(firstFrame, frames);
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
bool Program::closeDocumentForRecording() {
    return !CloseDocument();
}
void Program::recordingCommitted() {
    documentReplaced();
    UpdateTitleAndStatus();
}

std::string Program::documentFileName() const {
    return document_.fileName;
}
std::vector<std::string> Program::generationSettings() const {
    return GenerationSettings::arguments(controls_, source_, transport_.speedPercent());
}
const std::vector<CuePoint>* Program::documentRegions() const {
    return document_.loaded ? &document_.cues : nullptr;
}
bool Program::openWavFile(const std::string& wavPath) {
    // A session names the WAV file it was made on; another document would not match it.
    return openWav(wavPath, false) == 0;
}
void Program::refreshSessionPanel() {
    view_.refreshSessionPanel();
}
void Program::refreshCommands() {
    view_.refreshCommands();
}
Folders::Kind Program::folderKind(SessionFolder kind) {
    return kind == SessionFolder::SessionFiles ? Folders::Kind::Session : Folders::Kind::Wav;
}
std::string Program::startFolder(SessionFolder kind) const {
    return folders_.startFolder(folderKind(kind));
}
void Program::rememberFolder(SessionFolder kind, const std::string& folder) {
    folders_.remember(folderKind(kind), folder);
}

void Program::drawLogged(std::string_view text) {
    log_.WriteLogLine(text);
}
void Program::sourceHalted() {
    transport_.StopPlayback();
}

}  // namespace murmelix

// Cue table edits, kept apart from the document operations above.
namespace murmelix {

void Program::documentReplaced() {
    ++documentRevision_;
    view_.documentReplaced();
}

void Program::SetCueTable(std::vector<CuePoint> cues) {
    if (!document_.loaded) {
        return;
    }
    document_.cues = std::move(cues);
    document_.changed = true;
    UpdateTitleAndStatus();
    view_.refreshCommands();
}

}  // namespace murmelix
