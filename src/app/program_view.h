#pragma once

#include <cstdint>

#include "synth/transport_mode.h"

namespace murmelix {

// What the window shows of the program beyond message boxes and dialogs: called after the
// program's state changed so the window can refresh. Every call has a do-nothing default,
// which is all the command-line tool needs.
class ProgramView {
  public:
    virtual ~ProgramView() = default;
    // The transport mode or what it enables changed (documents, session, segment controls).
    virtual void refreshCommands() {}
    virtual void refreshSessionPanel() {}
    virtual void showSegmentNumber(int32_t number) { (void)number; }
    // The stretch of the document the segment now heard sounds (frames 0: none).
    virtual void showSegmentSpan(int64_t firstFrame, int64_t frames) {
        (void)firstFrame;
        (void)frames;
    }
    // The document's samples were replaced or changed (opened, effect, recording, closed):
    // pictures made from them are to be made again.
    virtual void documentReplaced() {}
    virtual void showPaused(bool paused) { (void)paused; }
    // The timed stop: the view runs a timer and calls Program::StopPlayback when it expires.
    virtual void startStopTimer(int milliseconds) { (void)milliseconds; }
    virtual void stopStopTimer() {}
    // Opens a file with the desktop's program for it ("open" verb).
    virtual void openWithDesktop(const std::string& path) { (void)path; }
};

}  // namespace murmelix
