#include "random/noise_buffer.h"

#include <algorithm>

namespace murmelix {

int32_t NoiseBuffer::fill(std::span<const int16_t> samples) {
    int32_t count = static_cast<int32_t>(std::min<size_t>(samples.size(), kCapacity));
    count -= count % kGroup;
    std::copy_n(samples.begin(), count, samples_.begin());
    fillCount_ = count;
    readPosition_ = 0;
    if (count > 0) {
        const auto [low, high] = std::minmax_element(samples_.begin(), samples_.begin() + count);
        minimum_ = *low;
        maximum_ = *high;
    }
    return count;
}

}  // namespace murmelix
