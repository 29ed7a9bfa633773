#pragma once

#include <cstdint>

#include "synth/transport_mode.h"

namespace murmelix {

// What the transport and the recorder ask of the window around them (or of the command-line tool's
// loop). Called on the UI thread.
class TransportHost {
  public:
    virtual ~TransportHost() = default;

    // The mode has been stored; enable the commands for it.
    virtual void applyTransportMode(TransportMode mode) = 0;
    // The segment that starts playing (-1: none); never during file playback.
    virtual void showSegmentNumber(int32_t number) { (void)number; }
    // The stretch of the document that segment sounds, at the same moment (frames 0: none,
    // as when playback stops); never during file playback either.
    virtual void showSegmentSpan(int64_t firstFrame, int64_t frames) {
        (void)firstFrame;
        (void)frames;
    }
    // Pause button down / menu item checked.
    virtual void showPaused(bool paused) { (void)paused; }
    // The timed stop: StopPlayback when it expires.
    virtual void startStopTimer(int milliseconds) { (void)milliseconds; }
    virtual void stopStopTimer() {}
    // StopPlayback during a recording: the recorder takes the input buffers back.
    virtual void stopRecording() {}
    // The session has changed through the transport (sequence begun or trimmed).
    virtual void sessionChanged() {}
    // A recording is to start: the document closes with its save question; false when the
    // user cancelled.
    virtual bool closeDocumentForRecording() { return true; }
    // The recording has become the document: show its title and status.
    virtual void recordingCommitted() {}
};

}  // namespace murmelix
