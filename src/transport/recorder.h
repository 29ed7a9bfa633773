#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "base/user_interface.h"
#include "device/input_device.h"
#include "device/wave_buffer.h"
#include "transport/transport_host.h"

namespace murmelix {

class AudioDocument;
class Transport;

// Records a new document from the sound card: two equal input blocks are queued at any time
// until Stop; then the blocks are joined into the document, which has no name, is marked
// changed and is normalized on request. Runs on the UI thread; the owner hands the input
// device's finished blocks to pumpDone().
class Recorder {
  public:
    struct Parts {
        AudioDocument& document;
        InputDevice& device;
        Transport& transport;
        UserInterface& ui;
        TransportHost& host;
    };

    static constexpr const char* kRecordInError = "Record In Error";

    explicit Recorder(Parts parts) : parts_(parts) {}
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void StartRecording();
    // Stop was pressed (the mode is already idle): every queued block comes back.
    void stop();
    // Handles the blocks the device has given back.
    void pumpDone();

    // The dialog's choices, kept from one recording to the next (and in the settings).
    RecordingParameters parameters;
    int inputDeviceId = -1;
    int bufferTimeMilliseconds = 100;

    int32_t blockSize() const { return blockSize_; }
    int64_t recordedBytes() const { return recordedBytes_; }
    size_t blocksQueued() const { return blocks_.size(); }
    // No recording runs and every block is back.
    bool settled() const { return blocks_.empty() && !parts_.device.isOpen(); }

  private:
    struct InputBlock {
        WaveBuffer header;
        std::vector<uint8_t> data;
    };

    void AddInputBlock();
    void InputBlockDone(WaveBuffer* header);
    void ShowRecordingStatus();
    void finishRecording();
    bool joinBlocks();

    Parts parts_;
    std::list<InputBlock> blocks_;
    int32_t blockSize_ = 0;
    int64_t recordedBytes_ = 0;
};

}  // namespace murmelix
