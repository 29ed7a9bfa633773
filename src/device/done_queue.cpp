#include "device/done_queue.h"

namespace murmelix {

bool DoneQueue::push(WaveBuffer* buffer) {
    const bool pushed = buffers_.push(buffer);
    signal_.raise();
    return pushed;
}

size_t DoneQueue::drain(std::vector<WaveBuffer*>& out) {
    signal_.clear();
    size_t count = 0;
    WaveBuffer* buffer = nullptr;
    while (buffers_.pop(buffer)) {
        buffer->done = true;
        out.push_back(buffer);
        ++count;
    }
    return count;
}

}  // namespace murmelix
