#pragma once

#include <cstddef>
#include <cstdint>

namespace murmelix {

// One chunk as RiffReader found it. Offsets index the reader's byte span. The size is the
// declared size cut to what the enclosing chunk (or the file) really holds, so code that
// reads a chunk can never be led past the end of its bytes by a lying size field.
struct RiffChunk {
    uint32_t id = 0;
    uint32_t declaredSize = 0;  // the size field as stored
    uint32_t listType = 0;      // form or list type of a RIFF or LIST chunk, else 0
    size_t dataOffset = 0;      // first byte after the 8-byte header
    size_t size = 0;            // declaredSize, cut to the parent
    size_t parentEnd = 0;       // where the chunk that holds this one ends

    size_t end() const { return dataOffset + size; }
    bool truncated() const { return size < declaredSize; }
};

}  // namespace murmelix
