#pragma once

#include <atomic>
#include <chrono>
#include <memory>

#include "device/output_device.h"
#include "device/output_renderer.h"
#include "device/port_audio_device_lookup.h"
#include "device/port_audio_library.h"
#include "device/port_audio_stream.h"

namespace murmelix {

// Output through PortAudio: one stream at the device's own rate and up to two channels,
// started by open() and running until close(). Any PCM format of 8 or 16 bits, mono or
// stereo, at any rate the converter can reach is converted on the way (see OutputRenderer),
// so setPlaybackRate() acts at once on every device. A buffer comes back when its last
// frame has been heard, by the stream's own account of its output latency; so the owner
// closes the device only after the last sound has come out.
//
// reset() hands the reset to the audio callback and waits for it (one callback period,
// normally a few milliseconds); when the callback does not come within kResetTimeout the
// stream is taken as stuck: it is given up (see PortAudioStream), the buffers are returned
// here and lastError() says so. A stream that ends by itself (the sound server quit, the
// device vanished) is noticed by the next pollDone() (the wake-up fires), which returns
// every buffer it held and sets lastError(); after that the device refuses writes until it
// is opened again.
class PortAudioOutputDevice final : public OutputDevice, private PortAudioStream::Client {
  public:
    static constexpr std::chrono::milliseconds kResetTimeout{250};
    PortAudioOutputDevice() = default;
    ~PortAudioOutputDevice() override { close(); }

    int open(int deviceId, const WaveFormat& format, bool queryOnly) override;
    int write(WaveBuffer* buffer) override;
    int pause() override;
    int restart() override;
    int reset() override;
    int setPlaybackRate(uint32_t rate) override;
    int close() override;
    bool isOpen() const override { return stream_.isOpen(); }
    uint32_t underflowCount() const override { return renderer_.underflows(); }

    // The open stream's rate and channel count.
    double streamRate() const { return opened_.rate; }
    int streamChannels() const { return opened_.parameters.channelCount; }
    // The share of one period's time the audio callback took lately (PortAudio's estimate,
    // 0 to 1); 0 while closed.
    double callbackLoad() const;

  protected:
    void checkStream() override;

  private:
    void process(const float* input, float* output, unsigned long frames,
                 const PaStreamCallbackTimeInfo* time, unsigned long flags) override;
    void streamEnded() override { done_.notify(); }

    // Closes the stream and returns every buffer; a stream that would not close is
    // reported as the failure it is.
    void closeAndReturnAll();

    std::unique_ptr<PortAudioLibrary> library_;
    OutputRenderer renderer_{done_, kMaxOutstanding};
    PortAudioStream stream_{*this};
    // The stream the last open prepared: rate and channels.
    PortAudioDeviceLookup::Stream opened_;
    double latency_ = 0;  // the stream's own estimate, for when its timing is missing
};

}  // namespace murmelix
