#pragma once

#include <cstdint>

#include "audio/wave_format.h"
#include "device/sound_device.h"

namespace murmelix {

// A sound output. Buffers play and come back in the order they were written; see
// SoundDevice for how they come back. Every method is for the owner's thread. Results are
// 0 for success or a code for errorText().
class OutputDevice : public SoundDevice {
  public:
    // Playback rates are 16.16 fixed point: 0x10000 plays at the opened rate.
    static constexpr uint32_t kNormalRate = 0x10000;
    // percent x 65536 / 100, truncated: 100 % gives 65536, 50 % 32768, 200 % 131072.
    static constexpr uint32_t rateFromPercent(int percent) {
        return static_cast<uint32_t>(percent) * 65536u / 100u;
    }

    // deviceId is the position in the output device list, -1 the system's default device.
    // With queryOnly the device only says whether it would take the format; nothing opens.
    virtual int open(int deviceId, const WaveFormat& format, bool queryOnly) = 0;

    // Queues a buffer behind those already written. Refused (and not queued) when the device
    // is not open, has failed, or already holds kMaxOutstanding buffers.
    virtual int write(WaveBuffer* buffer) = 0;

    // Pause: the output goes silent where it is and nothing is consumed; restart goes on
    // from there. Both act at once and may be called in any order and any number of times.
    virtual int pause() = 0;
    virtual int restart() = 0;

    // Stops what plays and gives every written buffer back at once, in order. When reset()
    // returns, pollDone() returns them all. The paused state stays as it is.
    virtual int reset() = 0;

    // Changes the speed while playing, as a multiple of the opened rate (16.16 fixed point).
    virtual int setPlaybackRate(uint32_t rate) = 0;

    // Closes the device. Buffers still queued come back as by reset() and can still be
    // fetched with pollDone() after the close.
    virtual int close() = 0;

    virtual bool isOpen() const = 0;

    // Times the output went silent because no buffer was queued while playing (a gap between
    // two buffers), plus gaps the sound system itself reported. Silence before the first
    // buffer after open or reset is not a gap.
    virtual uint32_t underflowCount() const = 0;
};

}  // namespace murmelix
