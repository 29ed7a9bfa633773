#include "labels/peak_cache.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <type_traits>

namespace murmelix {

namespace {

constexpr int kLanes = 16;
constexpr size_t kParallelBlocks = 16384;  // four million frames

Peak merge(Peak a, Peak b) {
    return {std::min(a.min, b.min), std::max(a.max, b.max)};
}

// Min and max of `count` interleaved frames of `channels` samples of type T, per channel.
// The lanes hold whole frames (kLanes is a multiple of 1 and 2), so the loop over them has
// no dependence between lanes and the compiler turns it into vector min/max instructions.
template <typename T>
void scanBlock(const uint8_t* bytes, int64_t count, int channels, Peak* out) {
    T low[kLanes];
    T high[kLanes];
    std::fill(low, low + kLanes, std::numeric_limits<T>::max());
    std::fill(high, high + kLanes, std::numeric_limits<T>::min());
    const int64_t samples = count * channels;
    int64_t i = 0;
    for (; i + kLanes <= samples; i += kLanes) {
        T chunk[kLanes];
        std::memcpy(chunk, bytes + i * sizeof(T), sizeof(chunk));
        for (int k = 0; k < kLanes; ++k) {
            low[k] = std::min(low[k], chunk[k]);
            high[k] = std::max(high[k], chunk[k]);
        }
    }
    for (int k = 0; i < samples; ++i, ++k) {
        T value;
        std::memcpy(&value, bytes + i * sizeof(T), sizeof(T));
        low[k] = std::min(low[k], value);
        high[k] = std::max(high[k], value);
    }
    for (int c = 0; c < channels; ++c) {
        T lo = std::numeric_limits<T>::max();
        T hi = std::numeric_limits<T>::min();
        for (int k = c; k < kLanes; k += channels) {
            lo = std::min(lo, low[k]);
            hi = std::max(hi, high[k]);
        }
        if constexpr (std::is_same_v<T, uint8_t>) {
            out[c] = {static_cast<int16_t>(lo - 128), static_cast<int16_t>(hi - 128)};
        } else {
            out[c] = {static_cast<int16_t>(lo), static_cast<int16_t>(hi)};
        }
    }
}

}  // namespace

void PeakCache::clear() {
    channels_ = 0;
    frameCount_ = 0;
    blocks_.clear();
}

int64_t PeakCache::framesPerBlock(int level) const {
    int64_t frames = kBaseBlock;
    for (int i = 0; i < level; ++i) {
        frames *= kReduction;
    }
    return frames;
}

const std::vector<Peak>& PeakCache::blocks(int level, int channel) const {
    return blocks_[static_cast<size_t>(level)][static_cast<size_t>(channel)];
}

void PeakCache::build(const AudioDocument& doc) {
    clear();
    const bool supported = (doc.bitsPerSample() == 8 || doc.bitsPerSample() == 16) &&
                           (doc.channels() == 1 || doc.channels() == 2) &&
                           doc.frameSize == doc.channels() * doc.bitsPerSample() / 8;
    if (!supported || doc.frameCount <= 0) {
        return;
    }
    channels_ = doc.channels();
    frameCount_ = doc.frameCount;
    buildBase(doc);
    // Coarser levels while a level still has more than one block.
    while (blocks_.back().front().size() > 1) {
        std::vector<std::vector<Peak>> coarser(static_cast<size_t>(channels_));
        for (int c = 0; c < channels_; ++c) {
            const std::vector<Peak>& fine = blocks_.back()[static_cast<size_t>(c)];
            std::vector<Peak>& out = coarser[static_cast<size_t>(c)];
            out.reserve((fine.size() + kReduction - 1) / kReduction);
            for (size_t i = 0; i < fine.size(); i += kReduction) {
                Peak peak = fine[i];
                for (size_t k = i + 1; k < std::min(fine.size(), i + kReduction); ++k) {
                    peak = merge(peak, fine[k]);
                }
                out.push_back(peak);
            }
        }
        blocks_.push_back(std::move(coarser));
    }
}

void PeakCache::buildBase(const AudioDocument& doc) {
    static_assert(std::endian::native == std::endian::little,
                  "16-bit samples are read in the host's order");
    const auto blockCount = static_cast<size_t>((frameCount_ + kBaseBlock - 1) / kBaseBlock);
    std::vector<std::vector<Peak>> base(static_cast<size_t>(channels_),
                                        std::vector<Peak>(blockCount));
    const auto scan = [&](size_t firstBlock, size_t endBlock) {
        Peak peaks[2];
        for (size_t b = firstBlock; b < endBlock; ++b) {
            const int64_t first = static_cast<int64_t>(b) * kBaseBlock;
            const int64_t count = std::min(kBaseBlock, frameCount_ - first);
            const uint8_t* at = doc.data.data() + first * doc.frameSize;
            if (doc.bitsPerSample() == 16) {
                scanBlock<int16_t>(at, count, channels_, peaks);
            } else {
                scanBlock<uint8_t>(at, count, channels_, peaks);
            }
            for (int c = 0; c < channels_; ++c) {
                base[static_cast<size_t>(c)][b] = peaks[c];
            }
        }
    };
    // Hours of sound are more than one core can read in the time a window may take to
    // show them; the halves write to separate blocks.
    if (blockCount >= kParallelBlocks && std::thread::hardware_concurrency() > 1) {
        std::thread upper(scan, blockCount / 2, blockCount);
        scan(0, blockCount / 2);
        upper.join();
    } else {
        scan(0, blockCount);
    }
    blocks_.push_back(std::move(base));
}

Peak PeakCache::rawRange(const AudioDocument& doc, int channel, int64_t from, int64_t to) const {
    Peak peak{INT16_MAX, INT16_MIN};
    for (int64_t f = from; f < to; ++f) {
        const auto value = static_cast<int16_t>(doc.read(channel, f));
        peak = merge(peak, {value, value});
    }
    return peak;
}

Peak PeakCache::range(const AudioDocument& doc, int channel, int64_t from, int64_t to) const {
    from = std::max<int64_t>(from, 0);
    to = std::min(to, frameCount_);
    if (from >= to || channel < 0 || channel >= channels_ || doc.frameCount != frameCount_) {
        return {};
    }
    Peak peak{INT16_MAX, INT16_MIN};
    int64_t at = from;
    while (at < to) {
        // The coarsest block that starts here and ends inside the range.
        int level = -1;
        for (int l = levels() - 1; l >= 0; --l) {
            const int64_t size = framesPerBlock(l);
            if (at % size == 0 && at + size <= to) {
                level = l;
                break;
            }
        }
        if (level >= 0) {
            const int64_t size = framesPerBlock(level);
            peak = merge(peak, blocks(level, channel)[static_cast<size_t>(at / size)]);
            at += size;
        } else {
            const int64_t next = std::min(to, (at / kBaseBlock + 1) * kBaseBlock);
            peak = merge(peak, rawRange(doc, channel, at, next));
            at = next;
        }
    }
    return peak;
}

std::vector<PeakCache::Column> PeakCache::columns(const AudioDocument& doc, int channel,
                                                  double firstFrame, double framesPerColumn,
                                                  int width) const {
    std::vector<Column> out(static_cast<size_t>(std::max(width, 0)));
    for (int c = 0; c < width; ++c) {
        const auto from = static_cast<int64_t>(std::floor(firstFrame + c * framesPerColumn));
        auto to = static_cast<int64_t>(std::floor(firstFrame + (c + 1) * framesPerColumn));
        to = std::max(to, from + 1);
        if (to <= 0 || from >= frameCount_ || doc.frameCount != frameCount_) {
            continue;
        }
        out[static_cast<size_t>(c)] = {range(doc, channel, from, to), true};
    }
    return out;
}

}  // namespace murmelix
