#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "device/output_device.h"
#include "device/wave_buffer.h"
#include "session/session.h"
#include "synth/segment_controls.h"
#include "synth/segment_selector.h"
#include "synth/synthesizer.h"
#include "synth/transport_mode.h"
#include "transport/transport_host.h"

namespace murmelix {

class AudioDocument;
class RandomNumberLog;
class RandomSource;
class SessionWorkflow;
class UserInterface;

// Plays the loaded file, makes OQTs and replays session sequences through one output device,
// with pause, stop and the timed stop, and keeps the program's single transport mode.
//
// Everything runs on the UI thread: commands, and the device's finished buffers, which the
// owner fetches when the device's notifyFd() becomes readable and hands to pumpDone(). A
// stop takes the mode to idle at once; the device is closed and the commands refreshed when
// the last queued buffer has come back.
class Transport {
  public:
    struct Parts {
        AudioDocument& document;
        SegmentControls& controls;
        RandomSource& source;
        RandomNumberLog& log;
        Session& session;
        SessionWorkflow& workflow;
        OutputDevice& device;
        UserInterface& ui;
        TransportHost& host;
    };

    explicit Transport(Parts parts);
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    void PlayWavFile();
    // Plays `frames` frames of the document from `firstFrame` on, as file playback does
    // (Stop, pause and the speed act on it alike); the span is cut to the data.
    void PlaySpan(int64_t firstFrame, int64_t frames);
    // Plays a sound that is not the document (a listening test's clip) at its own rate, as file
    // playback plays; Stop acts on it alike. `sound` must stay as it is until the mode is idle.
    void PlaySound(const AudioDocument& sound);
    void MakeOqt();
    // `count` sequences from `first` on; sequences without entries are skipped.
    void PlaySequences(Session::SequenceList::const_iterator first, int32_t count);
    void PauseContinue();
    void StopPlayback();
    void StopSessionPlay();
    void SetPlaybackSpeed(int percent);

    // Stores the mode and has the host enable the commands for it.
    void SetTransportMode(TransportMode mode);

    // Handles every buffer the device has given back, and a stream that died.
    void pumpDone();

    TransportMode mode() const { return mode_; }
    bool paused() const { return paused_; }
    // Nothing is queued and the device is closed: a new start is possible.
    bool settled() const;
    int speedPercent() const { return speedPercent_; }
    // The device failed while playing since the last start (the error has been shown).
    bool streamFailed() const { return !reportedStreamError_.empty(); }
    // Segments of the current (or last) OQT that have sounded, by the output's account.
    int32_t heardCount() const { return heardCount_; }
    // The span the current (or last) file playback plays, in frames.
    int64_t filePlayFirst() const { return filePlayFirst_; }
    int64_t filePlayFrames() const { return filePlayFrames_; }

    // Settings the window keeps: the playback device, and whether an OQT stops by itself.
    int outputDeviceId = -1;
    bool timedOqt = false;
    int timedOqtSeconds = 15;

    const SegmentSelector& selector() const { return selector_; }
    const Synthesizer& synthesizer() const { return synth_; }

  private:
    bool OpenOutputDevice();
    void ApplySpeedToFormat();
    bool openDevice(const WaveFormat& format);
    // The frames as one buffer from slot 0; playback ends when that buffer comes back.
    void playBuffer(const AudioDocument& doc, int64_t firstFrame, int64_t frames);
    void WaveOutDone();
    void showDeviceError(int code);
    // Sends the current slot to the device; a refused write is not counted as queued.
    void writeCurrentSlot();
    void fillRandom();
    void fillSession();
    void finishDrained();
    void announce(int32_t slotIndex);

    Parts parts_;
    SegmentSelector selector_;
    Synthesizer synth_;
    std::array<WaveBuffer, Synthesizer::kSlots> headers_{};
    TransportMode mode_ = TransportMode::tmIdle;
    bool paused_ = false;
    int speedPercent_ = 100;
    int openedPercent_ = 100;
    std::string reportedStreamError_;
    int32_t heardCount_ = 0;
    int64_t filePlayFirst_ = 0;
    int64_t filePlayFrames_ = 0;
};

}  // namespace murmelix
