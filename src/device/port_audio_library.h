#pragma once

#include <chrono>
#include <string>

namespace murmelix {

// Holds PortAudio initialised for as long as it lives. PortAudio counts initialisations, so
// any number of holders may exist; the devices are scanned when the first one starts.
//
// The scan probes every ALSA and JACK device name, and those libraries print a line to
// stderr for every name without hardware behind it. Their message hooks are pointed at
// nothing before the scan, which keeps the command-line tool's output readable; PortAudio's
// own results still report every failure.
//
// Starting PortAudio asks the sound server about its devices, which a frozen server never
// answers: the start runs with a deadline (kStartDeadline) and, when it misses it, the holder
// reports paTimedOut; no further start is tried while one is still stuck.
class PortAudioLibrary {
  public:
    static constexpr std::chrono::milliseconds kStartDeadline{3000};

    PortAudioLibrary();
    ~PortAudioLibrary();
    PortAudioLibrary(const PortAudioLibrary&) = delete;
    PortAudioLibrary& operator=(const PortAudioLibrary&) = delete;

    // PortAudio's result of the initialisation: 0 when it worked.
    int status() const { return status_; }

    // A text for a PortAudio error code, with the sound system's own words when PortAudio
    // only passes on a failure of the system below it. Call right after the failure, on the
    // thread that saw it.
    static std::string describe(int error);

    // Asks for real-time scheduling of the stream's callback thread where the sound system
    // supports that and the system allows it (it quietly stays normal otherwise), so that a
    // busy machine does not starve the sound. Call between opening and starting the stream.
    static void preferRealTime(void* stream, int deviceIndex);

  private:
    int status_ = 0;
};

}  // namespace murmelix
