#pragma once

#include <atomic>
#include <memory>

#include "device/input_capturer.h"
#include "device/input_device.h"
#include "device/port_audio_device_lookup.h"
#include "device/port_audio_library.h"
#include "device/port_audio_stream.h"

namespace murmelix {

// Input through PortAudio: one stream at the device's own rate and up to two channels, opened
// by open() and running from start() until reset() or close(). The frames are converted to
// the requested PCM format and rate on the way (see InputCapturer); recording at the device's
// own rate keeps the samples exactly.
//
// reset() stops the stream first, so that nothing writes into the buffers any more, and then
// gives them all back here; a stream that does not stop in time is given up (see
// PortAudioStream) and reported through lastError(). A stream that ends by itself (the sound
// server quit) is noticed by the next pollDone() (the wake-up fires), which returns every
// buffer and sets lastError(); the device then refuses to start until it is opened again.
class PortAudioInputDevice final : public InputDevice, private PortAudioStream::Client {
  public:
    PortAudioInputDevice() = default;
    ~PortAudioInputDevice() override { close(); }

    int open(int deviceId, const WaveFormat& format, bool queryOnly) override;
    int addBuffer(WaveBuffer* buffer) override;
    int start() override;
    int reset() override;
    int close() override;
    bool isOpen() const override { return stream_.isOpen(); }
    uint64_t overrunFrames() const override { return capturer_.overrunFrames(); }

    double streamRate() const { return opened_.rate; }
    int streamChannels() const { return opened_.parameters.channelCount; }

  protected:
    void checkStream() override;

  private:
    void process(const float* input, float* output, unsigned long frames,
                 const PaStreamCallbackTimeInfo* time, unsigned long flags) override;
    void streamEnded() override { done_.notify(); }

    // Stops the stream (closing it when asked) and returns every buffer; a stream that
    // would not stop is given up and reported.
    void stopAndReturnAll(bool close);
    void streamGivenUp();

    std::unique_ptr<PortAudioLibrary> library_;
    InputCapturer capturer_{done_, kMaxOutstanding};
    PortAudioStream stream_{*this};
    bool failed_ = false;  // the stream ended by itself or was given up
    // The stream the last open prepared: rate and channels.
    PortAudioDeviceLookup::Stream opened_;
};

}  // namespace murmelix
