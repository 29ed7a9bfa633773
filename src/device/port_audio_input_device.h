#pragma once

#include <atomic>
#include <memory>

#include "device/input_capturer.h"
#include "device/input_device.h"
#include "device/port_audio_library.h"

struct PaStreamCallbackTimeInfo;

namespace murmelix {

// Input through PortAudio: one stream at the device's own rate and up to two channels, opened
// by open() and running from start() until reset() or close(). The frames are converted to
// the requested PCM format and rate on the way (see InputCapturer); recording at the device's
// own rate keeps the samples exactly.
//
// reset() stops the stream first, so that nothing writes into the buffers any more, and then
// gives them all back here. A stream that ends by itself (the sound server quit) is noticed
// by the next pollDone() (the wake-up fires), which returns every buffer and sets
// lastError(); the device then refuses to start until it is opened again.
class PortAudioInputDevice final : public InputDevice {
  public:
    PortAudioInputDevice();
    ~PortAudioInputDevice() override;

    int open(int deviceId, const WaveFormat& format, bool queryOnly) override;
    int addBuffer(WaveBuffer* buffer) override;
    int start() override;
    int reset() override;
    int close() override;
    bool isOpen() const override { return stream_ != nullptr; }
    uint64_t overrunFrames() const override { return capturer_.overrunFrames(); }

    double streamRate() const { return streamRate_; }
    int streamChannels() const { return streamChannels_; }

  protected:
    void checkStream() override;

  private:
    static int callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* timeInfo, unsigned long flags, void* self);
    static void finished(void* self);

    int failPortAudio(int error);
    void stopAndReturnAll();

    std::unique_ptr<PortAudioLibrary> library_;
    InputCapturer capturer_{done_, kMaxOutstanding};
    void* stream_ = nullptr;
    bool running_ = false;  // started, and not stopped here since
    bool failed_ = false;   // the stream ended by itself
    double streamRate_ = 0;
    int streamChannels_ = 0;
    std::atomic<bool> ended_{false};
};

}  // namespace murmelix
