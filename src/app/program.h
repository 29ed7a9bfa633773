#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/cue_search.h"
#include "app/program_view.h"
#include "audio/audio_document.h"
#include "audio/imported_sound.h"
#include "base/folders.h"
#include "base/result.h"
#include "device/input_device.h"
#include "device/output_device.h"
#include "random/random_number_log.h"
#include "random/random_source.h"
#include "random/random_source_listener.h"
#include "session/session.h"
#include "session/session_file_operations.h"
#include "session/session_host.h"
#include "session/session_workflow.h"
#include "synth/segment_controls.h"
#include "transport/recorder.h"
#include "transport/sound_card_noise_input.h"
#include "transport/transport.h"
#include "transport/transport_host.h"

namespace murmelix {

class HeldMessages;
class UserInterface;

// The program: owns every long-lived object (document, segment controls, random source and
// log, session, transport, recorder) and holds the main window's operations under their
// names. It reaches the person only through UserInterface and ProgramView, so the window,
// the command-line tool and the tests drive the same code. UI thread only.
class Program : private TransportHost, private SessionHost, private RandomSourceListener {
  public:
    struct Devices {
        OutputDevice& output;
        InputDevice& recordInput;
        InputDevice& noiseInput;
    };

    static constexpr const char* kUnknownFileType =
        "Unknown filetype. Murmelix does accept only the\nfollowing types of files: OQT session "
        "files (*.oqt),\nWAV files (*.wav), and Random Source files (*.pcm)";
    static constexpr const char* kSaveWavQuestion =
        "The current WAV file has been changed. Do you want to save the changes?";
    static constexpr const char* kDefaultCaption = "Murmelix 2.1";
    static constexpr const char* kImportProgress = "Importing sound file ...";
    static constexpr const char* kFindProgress = "Finding cue regions ...";
    static constexpr const char* kImportQuestion =
        "'%s' is a %s file, which Murmelix can import as a new 16-bit WAV document (the file "
        "itself stays as it is). Do you want to import it now?";
    // The extensions of the sound files the program opens by import (and ".wav"), and the
    // open dialog's filter made from them.
    static constexpr std::array<const char*, 12> kSoundExtensions = {
        ".wav", ".flac", ".ogg",  ".oga", ".opus", ".mp3",
        ".aif", ".aiff", ".aifc", ".caf", ".w64",  ".rf64"};
    static bool isImportExtension(const std::string& lowerExtension);
    static std::string openFilter();
    // The import dialog's filter: every sound file it reads comes first.
    static std::string importFilter();
    // `path` when no file has that name, else the first free "name (imported).ext",
    // "name (imported 2).ext", ...: saving an import must not propose its neighbour's name.
    static std::string unusedName(const std::string& path);

    Program(UserInterface& ui, Devices devices, ProgramView* view = nullptr);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Documents. Return values as the window's operations: true = cancelled or failed.
    // OpenWav reads a WAV file as the program always has; a sound file of another kind, or a
    // WAV file the reader refuses for its format (when the person agrees to the one question
    // that offers it), is imported instead.
    int OpenWav(const std::string& path);
    // Any sound file libsndfile reads becomes a new document without a name of its own (Save
    // asks for one, proposing the source's name with ".wav", or a free name beside it):
    // 16-bit (8-bit sources stay 8-bit), mono or stereo (more channels mixed down), with its
    // markers. The file is read on a worker thread while the window shows progress with
    // Cancel; the open document is closed only once the import has succeeded. The new
    // document counts as unchanged until it is edited (its source is still there), yet Save
    // works on it at once. An empty path asks for the file.
    Result ImportSound(const std::string& path);
    // Finds cue regions in the loaded recording (pauses, words or phonemes) on a worker
    // thread, with progress and Cancel; `found` gets them (the document is not changed: the
    // window shows them for review first). Refused while anything plays or records.
    Result FindCueRegions(const CueSearch& search, std::vector<CuePoint>& found);
    bool CloseDocument();
    bool SaveDocument(bool ask);
    void OpenByExtension(const std::string& path);
    void UpdateTitleAndStatus();

    // Transport.
    void PlayWavFile() { transport_.PlayWavFile(); }
    void MakeOqt() { transport_.MakeOqt(); }
    void PauseContinue() { transport_.PauseContinue(); }
    void StopPlayback() { transport_.StopPlayback(); }
    void StopSessionPlay() { transport_.StopSessionPlay(); }
    void PlaySession();
    void PlayCurrentSequence();
    void SetPlaybackSpeed(int percent) { transport_.SetPlaybackSpeed(percent); }
    void StartRecording() { recorder_.StartRecording(); }
    void PlaySpan(int64_t firstFrame, int64_t frames) { transport_.PlaySpan(firstFrame, frames); }
    // Plays a WAV file that is not the document (a listening test's clip) as it is; Stop stops
    // it. Failed, with the reader's message shown, when it cannot be read; nothing happens while
    // anything plays or records.
    Result PlayClip(const std::string& path);

    // Cue regions edited in the waveform window or read from a label file: the document
    // takes the table, counts as changed, and the title and status follow.
    void SetCueTable(std::vector<CuePoint> cues);
    // Counts every replacement or change of the document's samples (open, effect, recording,
    // close), so that what was made from them (peaks, the cue editor's history) is renewed.
    uint64_t documentRevision() const { return documentRevision_; }

    // Session panel commands beyond the session objects' own.
    // Export of the current sequence through the export dialog; true when written.
    bool ExportSequence();
    // Writes the current sequence to the editor file and opens it with the desktop's WAV
    // program; true when written.
    bool EditSequence();
    // Where the editor hand-off writes: "murmelix.wav" in the current folder, or in the
    // temporary folder when the current one cannot be written.
    static std::string editorFilePath();
    // What a recogniser that knows nothing of the source hears in the current sequence, or in
    // every one, as it sounded: heard on a worker with progress and Cancel (sequences heard
    // before a Cancel keep their words). The words go to the sequences and the session counts
    // as changed: its save keeps them beside its file. Refused while anything plays or records.
    Result TranscribeSequences(bool all);
    static constexpr const char* kTranscribeProgress = "Listening to the OQT ...";
    // The session as a table for analysis tools, written to the CSV file the person chooses;
    // true when written.
    bool ExportSessionTable();

    // Runs `work` on a worker while the window shows `text` with progress and Cancel; nothing
    // may change the document meanwhile. `work` hears how far it got and whether to go on.
    using BackgroundWork = std::function<Result(const std::function<bool(int64_t, int64_t)>&)>;
    Result RunInBackground(const char* text, const BackgroundWork& work);

    // Effects.
    void Reverse();
    // Asks for the echo parameters (kept for the whole run) and adds the echo.
    void AddEcho();
    void Echo(int delayMs, int decayPercent);
    void Normalize();

    // Random numbers: the log switched on (after choosing its file) or off, and the export
    // of a number of draws into a new file, with progress that can be cancelled.
    void ToggleRandomLog() { log_.ToggleRandomLog(); }
    RandomNumberLog::ExportResult ExportRandomNumbers();
    static constexpr const char* kExportProgress = "Writing random numbers ...";
    // How many draws pass between two progress reports.
    static constexpr int64_t kProgressStep = 1000;
    // How often the window is told how far an import got.
    static constexpr std::chrono::milliseconds kProgressInterval{50};

    // The sound devices' file descriptors: readable when finished buffers wait; then
    // pumpDevices() handles them.
    void pumpDevices();
    int outputNotifyFd() const { return devices_.output.notifyFd(); }
    int inputNotifyFd() const { return devices_.recordInput.notifyFd(); }
    // Gaps in the output since the device was opened (no buffer queued in time).
    uint32_t outputUnderflows() const { return devices_.output.underflowCount(); }

    TransportMode mode() const { return transport_.mode(); }
    // Nothing plays, records or imports and every buffer is back: the window may close.
    bool idle() const {
        return transport_.mode() == TransportMode::tmIdle && transport_.settled() &&
               recorder_.settled() && !working_;
    }

    // The program's parts. The document, the segment controls and the session are shown,
    // and changed only through the operations above and below; the other parts have
    // operations of their own that the window calls.
    const AudioDocument& document() const { return document_; }
    const SegmentControls& controls() const { return controls_; }
    const Session& session() const { return session_; }
    Session& session() { return session_; }
    RandomSource& source() { return source_; }
    const RandomSource& source() const { return source_; }
    RandomNumberLog& log() { return log_; }
    const RandomNumberLog& log() const { return log_; }
    SessionWorkflow& workflow() { return workflow_; }
    const SessionWorkflow& workflow() const { return workflow_; }
    SessionFileOperations& sessionFiles() { return sessionFiles_; }
    Transport& transport() { return transport_; }
    const Transport& transport() const { return transport_; }
    Recorder& recorder() { return recorder_; }
    const Recorder& recorder() const { return recorder_; }
    UserInterface& ui() { return ui_; }
    // The sound-card noise the random source records, for other generations of the program's
    // (a listening test's controls).
    NoiseInput& noiseInput() { return noiseInput_; }

    // The "Segments" group's settings; the lengths they give in frames follow at once.
    void setSegmentControls(const SegmentControls& controls);

    // The remembered folders of every file dialog, with their "separate folders" rule.
    Folders& folders() { return folders_; }
    const Folders& folders() const { return folders_; }

    // Dialog values kept for the whole run: the echo dialog's last parameters and the
    // random-number export's count.
    struct DialogValues {
        int echoDelayMs = 100;
        int echoDecayPercent = 50;
        int writeCount = 1000;
    };
    const DialogValues& dialogValues() const { return dialogValues_; }
    void setDialogValues(const DialogValues& values) { dialogValues_ = values; }

  private:
    // TransportHost
    void applyTransportMode(TransportMode mode) override;
    void showSegmentNumber(int32_t number) override;
    void showSegmentSpan(int64_t firstFrame, int64_t frames) override;
    void showPaused(bool paused) override;
    void startStopTimer(int milliseconds) override;
    void stopStopTimer() override;
    void stopRecording() override;
    void sessionChanged() override;
    bool closeDocumentForRecording() override;
    void recordingCommitted() override;
    // SessionHost
    std::string documentFileName() const override;
    const std::vector<CuePoint>* documentRegions() const override;
    std::vector<std::string> generationSettings() const override;
    bool openWavFile(const std::string& wavPath) override;
    void refreshSessionPanel() override;
    void refreshCommands() override;
    std::string startFolder(SessionFolder kind) const override;
    void rememberFolder(SessionFolder kind, const std::string& folder) override;
    // RandomSourceListener
    void drawLogged(std::string_view text) override;
    void sourceHalted() override;

    void afterEffect();
    int openWav(const std::string& path, bool offerImport);
    std::optional<std::string> chooseFile(const char* title, const std::string& filter);
    // The caption and application title for the document: its name, "*" in front while it
    // has changes that are not saved.
    void showTitle(const std::string& name);
    void adoptImport(ImportedSound& imported, const std::string& source);
    void forgetImport();
    bool offerImport(const std::string& path, HeldMessages& readerMessages);
    void documentReplaced();
    static Folders::Kind folderKind(SessionFolder kind);

    UserInterface& ui_;
    Folders folders_;
    DialogValues dialogValues_;
    // What the document was imported from ("Imported: ..."), until it is saved or closed;
    // and the name its save dialog proposes.
    std::string importDescription_;
    std::string importProposedName_;
    std::string importSourceName_;
    bool working_ = false;  // a worker runs: nothing may change the document meanwhile
    AudioDocument document_;
    AudioDocument clip_;  // what PlayClip plays
    SegmentControls controls_;
    RandomSource source_;
    RandomNumberLog log_;
    Session session_;
    SessionWorkflow workflow_;
    SessionFileOperations sessionFiles_;
    Devices devices_;
    ProgramView noView_;
    ProgramView& view_;
    SoundCardNoiseInput noiseInput_;
    Transport transport_;
    Recorder recorder_;
    uint64_t documentRevision_ = 0;
};

}  // namespace murmelix
