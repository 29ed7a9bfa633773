#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "audio/wave_format.h"
#include "device/done_queue.h"
#include "device/wave_buffer.h"

namespace murmelix {

// What output and input devices share: the way finished buffers come back to the owner, and
// the texts of failures.
//
// Threads. Every method is for the owner's thread (the UI thread in the program). Buffers
// finish on the device's own thread and wait in a queue until the owner fetches them with
// pollDone(); notifyFd() becomes readable whenever there is something to fetch, so the owner
// can watch it in its event loop (QSocketNotifier, poll()). Nothing is ever delivered behind
// the owner's back: a buffer counts as out with the device until pollDone() has returned it.
class SoundDevice {
  public:
    // Buffers that may be out with a device at once (written or added and not yet fetched
    // back with pollDone()).
    static constexpr size_t kMaxOutstanding = 256;

    virtual ~SoundDevice() = default;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Appends the buffers that came back since the last call, in the order they were given
    // to the device, each with done set; returns how many. Also notices a stream that died
    // (see lastError()), which returns every buffer it still held.
    size_t pollDone(std::vector<WaveBuffer*>& out);

    // Readable while pollDone() has something to do.
    int notifyFd() const { return done_.fd(); }

    // Waits up to timeout for something for pollDone(); true when there is. A simulated
    // device lets its virtual time pass instead.
    virtual bool waitDone(std::chrono::milliseconds timeout);

    // Buffers given to the device and not yet fetched back.
    size_t outstanding() const { return outstanding_; }

    // A clear text for a result code of this device, with the details of the last failure
    // when code is the code that failure returned.
    std::string errorText(int code) const;

    // PCM of 8 or 16 bits, mono or stereo, a rate above 0 and the block align that goes with
    // them: what every device takes (a device may still refuse the rate).
    static bool isUsableFormat(const WaveFormat& format);

    // The failure that stopped a running stream (the sound server quit, the device vanished
    // or stopped responding); empty while all is well. Cleared by the next open().
    const std::string& lastError() const { return lastError_; }

  protected:
    SoundDevice() = default;

    // Hook for pollDone(): a device whose stream can die in the background takes it down
    // here, on the owner's thread, and returns the buffers it held.
    virtual void checkStream() {}

    // Records a failure returned as code, with its details for errorText(), and returns code.
    int fail(int code, std::string details = {});
    // Records a failure of the running stream.
    void failStream(int code, std::string details = {});
    void clearErrors();

    // Call when a buffer is handed to the device. False when too many are out.
    bool takeOut();

    DoneQueue done_{kMaxOutstanding};

  private:
    size_t outstanding_ = 0;
    int failedCode_ = 0;
    std::string failedDetails_;
    std::string lastError_;
};

}  // namespace murmelix
