#pragma once

#include <portaudio.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "device/callback_gate.h"

namespace murmelix {

// One PortAudio stream as both devices use it, with every call that can block inside the
// sound system (open, start, stop, close) made off the owner's thread with a deadline: a
// frozen or vanished sound server costs the owner a fraction of a second, never a hang.
//
// A stream whose call misses its deadline is abandoned: its callback is cut off from the
// client at once (CallbackGate), it is never touched from here again, and a background
// thread closes it whenever the sound system lets go. The stream then counts as closed and
// the call reports DeviceError::kNotResponding.
//
// Threads: every method is for the owner's thread. The client's process() runs on
// PortAudio's thread; streamEnded() on any thread.
class PortAudioStream {
  public:
    class Client {
      public:
        virtual ~Client() = default;
        // Audio thread: output has frames x output channels floats (or is null), input the
        // same for the input channels.
        virtual void process(const float* input, float* output, unsigned long frames,
                             const PaStreamCallbackTimeInfo* time, unsigned long flags) = 0;
        // The stream ended without being asked to (the sound server quit).
        virtual void streamEnded() = 0;
    };

    // What a sound server normally needs to open a stream, with room for a loaded machine.
    static constexpr std::chrono::milliseconds kOpenDeadline{3000};
    // Stop and close come back in milliseconds when the sound system is well.
    static constexpr std::chrono::milliseconds kStopDeadline{500};

    explicit PortAudioStream(Client& client) : client_(client) {}
    ~PortAudioStream();
    PortAudioStream(const PortAudioStream&) = delete;
    PortAudioStream& operator=(const PortAudioStream&) = delete;

    // Opens (and with start, starts) a stream on one device index. 0, or a PortAudio error
    // or DeviceError::kNotResponding with details().
    int open(const PaStreamParameters* input, const PaStreamParameters* output, double rate,
             int deviceIndex, bool start);
    int start();
    // Stops at once, throwing away what the sound system still holds; the stream stays
    // open. False when the stream did not stop in time and was abandoned.
    bool abort();
    // Stops and closes. False when the stream was abandoned instead.
    bool close();
    // Gives the stream up without waiting for the sound system at all.
    void abandon();

    bool isOpen() const { return stream_ != nullptr; }
    bool running() const { return running_; }
    // The stream ended by itself while running (see Client::streamEnded()).
    bool endedByItself() const;
    // Seconds from a frame handed to the stream to its sound, as the stream estimates.
    double outputLatency() const;
    // PortAudio's estimate of the share of the time the callback takes; 0 while closed.
    double cpuLoad() const;
    // Details of the last failure.
    const std::string& details() const { return details_; }

  private:
    struct Link;

    static int callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* user);
    static void finished(void* user);

    int notResponding(const char* what);
    // Stops and closes, waiting up to the deadline; past it the stream is given up.
    bool closeWithin(std::chrono::milliseconds deadline);
    // Runs a call on the open stream within the deadline; false (the stream abandoned) when
    // it missed it.
    bool call(PaError (*what)(PaStream*), PaError& result);
    void forget();

    Client& client_;
    std::shared_ptr<Link> link_;
    PaStream* stream_ = nullptr;
    bool running_ = false;
    std::string details_;
};

}  // namespace murmelix
