#include "audio/riff_reader.h"

#include <algorithm>
#include <cstring>

#include "base/byte_order.h"

namespace murmelix {

namespace {

constexpr uint32_t kRiffId = fourCC("RIFF");
constexpr uint32_t kListId = fourCC("LIST");

bool isContainer(uint32_t id) {
    return id == kRiffId || id == kListId;
}

bool matches(RiffReader::Find mode, uint32_t wanted, uint32_t found) {
    switch (mode) {
        case RiffReader::Find::Riff:
            return found == kRiffId;
        case RiffReader::Find::List:
            return found == kListId;
        case RiffReader::Find::Chunk:
            break;
    }
    return found == wanted;
}

}  // namespace

int RiffReader::descend(RiffChunk& chunk, const RiffChunk* parent, Find mode, uint32_t id) {
    const size_t limit = parent != nullptr ? parent->end() : bytes_.size();
    if (parent != nullptr && (position_ < parent->dataOffset || position_ >= limit)) {
        return kChunkNotFound;
    }
    // 64-bit arithmetic: a header offset plus a size near 4 GiB must not wrap.
    uint64_t at = position_;
    while (at < limit && limit - at >= kHeaderSize) {
        const uint8_t* header = bytes_.data() + at;
        const uint32_t foundId = loadU32LE(header);
        const uint32_t declared = loadU32LE(header + 4);
        const size_t dataOffset = static_cast<size_t>(at) + kHeaderSize;
        if (matches(mode, id, foundId)) {
            chunk.id = foundId;
            chunk.declaredSize = declared;
            chunk.dataOffset = dataOffset;
            chunk.size = std::min<size_t>(declared, limit - dataOffset);
            chunk.parentEnd = limit;
            chunk.listType = 0;
            size_t start = dataOffset;
            if (isContainer(foundId)) {
                if (chunk.size >= 4) {
                    chunk.listType = loadU32LE(bytes_.data() + dataOffset);
                }
                start += std::min<size_t>(4, chunk.size);
            }
            position_ = start;
            return 0;
        }
        at = static_cast<uint64_t>(dataOffset) + declared + (declared & 1u);
    }
    return kChunkNotFound;
}

int RiffReader::ascend(const RiffChunk& chunk) {
    if (chunk.truncated()) {
        position_ = chunk.end();
        return kCannotSeek;
    }
    const uint64_t padded = static_cast<uint64_t>(chunk.end()) + (chunk.declaredSize & 1u);
    position_ = static_cast<size_t>(std::min<uint64_t>(padded, chunk.parentEnd));
    return 0;
}

size_t RiffReader::read(const RiffChunk& chunk, void* out, size_t count) {
    if (position_ < chunk.dataOffset || position_ >= chunk.end()) {
        return 0;
    }
    const size_t n = std::min(count, chunk.end() - position_);
    std::memcpy(out, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

}  // namespace murmelix
