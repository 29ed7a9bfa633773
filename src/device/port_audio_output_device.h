#pragma once

#include <atomic>
#include <chrono>
#include <memory>

#include "device/output_device.h"
#include "device/output_renderer.h"
#include "device/port_audio_library.h"

struct PaStreamCallbackTimeInfo;

namespace murmelix {

// Output through PortAudio: one stream at the device's own rate and up to two channels,
// started by open() and running until close(). Any PCM format of 8 or 16 bits, mono or
// stereo, at any rate the converter can reach is converted on the way (see OutputRenderer),
// so setPlaybackRate() acts at once on every device.
//
// reset() hands the reset to the audio callback and waits for it (one callback period,
// normally a few milliseconds); when the callback does not come within kResetTimeout the
// stream is taken as stuck: it is stopped, the buffers are returned here and lastError()
// says so. A stream that ends by itself (the sound server quit, the device vanished) is
// noticed by the next pollDone() (the wake-up fires), which returns every buffer it held
// and sets lastError(); after that the device refuses writes until it is opened again.
class PortAudioOutputDevice final : public OutputDevice {
  public:
    static constexpr std::chrono::milliseconds kResetTimeout{1000};
    // Latency asked of the stream: room for a busy machine without a noticeable delay.
    PortAudioOutputDevice();
    ~PortAudioOutputDevice() override;

    int open(int deviceId, const WaveFormat& format, bool queryOnly) override;
    int write(WaveBuffer* buffer) override;
    int pause() override;
    int restart() override;
    int reset() override;
    int setPlaybackRate(uint32_t rate) override;
    int close() override;
    bool isOpen() const override { return stream_ != nullptr; }
    uint32_t underflowCount() const override { return renderer_.underflows(); }

    // The open stream's rate and channel count.
    double streamRate() const { return streamRate_; }
    int streamChannels() const { return streamChannels_; }
    // The share of one period's time the audio callback took lately (PortAudio's estimate,
    // 0 to 1); 0 while closed.
    double callbackLoad() const;

  protected:
    void checkStream() override;

  private:
    static int callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* timeInfo, unsigned long flags, void* self);
    static void finished(void* self);

    int failPortAudio(int error);
    void stopAndReturnAll();

    std::unique_ptr<PortAudioLibrary> library_;
    OutputRenderer renderer_{done_, kMaxOutstanding};
    void* stream_ = nullptr;
    bool running_ = false;  // started, and not stopped here since
    double streamRate_ = 0;
    int streamChannels_ = 0;
    std::atomic<bool> ended_{false};  // set on PortAudio's thread when the stream ends
};

}  // namespace murmelix
