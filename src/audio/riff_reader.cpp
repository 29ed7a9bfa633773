#include "audio/riff_reader.h"

#include <algorithm>

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
    const size_t limit = parent != nullptr ? parent->end() : size_;
    if (parent != nullptr && (position_ < parent->dataOffset || position_ >= limit)) {
        return kChunkNotFound;
    }
    // 64-bit arithmetic: a header offset plus a size near 4 GiB must not wrap.
    uint64_t at = position_;
    while (at < limit && limit - at >= kHeaderSize) {
        uint8_t header[kHeaderSize];
        if (!source_.read(at, header, sizeof header)) {
            return kChunkNotFound;
        }
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
                uint8_t type[4];
                if (chunk.size >= 4 && source_.read(dataOffset, type, sizeof type)) {
                    chunk.listType = loadU32LE(type);
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
    if (!source_.read(position_, out, n)) {
        return 0;
    }
    position_ += n;
    return n;
}

bool RiffReader::readData(const RiffChunk& chunk, std::vector<uint8_t>& out) {
    out.resize(chunk.size);
    return source_.read(chunk.dataOffset, out.data(), out.size());
}

}  // namespace murmelix
