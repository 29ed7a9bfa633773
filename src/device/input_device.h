#pragma once

#include "audio/wave_format.h"
#include "device/sound_device.h"

namespace murmelix {

// A sound input. Added buffers are filled one after the other, in the order added, and come
// back (see SoundDevice) when full, with bytesRecorded set. Every method is for the owner's
// thread; results are 0 for success or a code for errorText().
class InputDevice : public SoundDevice {
  public:
    // deviceId is the position in the input device list, -1 the system's default device.
    // With queryOnly the device only says whether it would take the format; nothing opens.
    virtual int open(int deviceId, const WaveFormat& format, bool queryOnly) = 0;

    // Queues an empty buffer (recordData, length) to be filled after those already added.
    virtual int addBuffer(WaveBuffer* buffer) = 0;

    // Starts recording into the queued buffers.
    virtual int start() = 0;

    // Stops recording and gives every added buffer back at once, in order: the one being
    // filled with what it holds, the others with bytesRecorded 0. start() records again.
    virtual int reset() = 0;

    // Closes the device; buffers still queued come back as by reset().
    virtual int close() = 0;

    virtual bool isOpen() const = 0;

    // Frames that arrived while no buffer was queued and were lost.
    virtual uint64_t overrunFrames() const = 0;
};

}  // namespace murmelix
