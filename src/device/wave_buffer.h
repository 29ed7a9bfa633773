#pragma once

#include <cstdint>

namespace murmelix {

// One buffer handed to a sound device: the header the caller fills and the device hands
// back when it has finished with it. The memory it points at belongs to the caller, who
// keeps it alive and leaves it alone from the write (or addBuffer) until the buffer comes
// back through the device's done events.
struct WaveBuffer {
    // Output: the samples to play, in the format the device was opened with.
    const uint8_t* data = nullptr;
    // Input: where the device records to.
    uint8_t* recordData = nullptr;
    // Bytes at data (output) or recordData (input). A trailing part frame is ignored.
    uint32_t length = 0;
    // Input: bytes the device recorded into recordData when the buffer came back.
    uint32_t bytesRecorded = 0;
    // Whatever the caller wants to find again when the buffer comes back.
    int64_t user = 0;
    // Set when the buffer comes back; cleared when it is written or added.
    bool done = false;
    // Output: set when the buffer comes back if any of it was heard (all of it, unless a
    // stop cut it short); clear for buffers a stop returned before their turn.
    bool sounded = false;
};

}  // namespace murmelix
