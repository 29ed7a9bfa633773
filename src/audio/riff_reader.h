#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/riff_chunk.h"
#include "base/byte_source.h"

namespace murmelix {

// Walks the chunks of a RIFF file, the way the classic multimedia file
// functions do: a chunk is searched forward from the current position within its parent,
// other chunks are skipped, and a chunk of odd size is followed by one pad byte. A chunk
// that stands before the current position is therefore not found.
//
// Every declared size is checked against the parent; only readData allocates (never more
// than the bytes really present), and no size field, however large, moves the position
// past the end of the bytes. Bytes that cannot be read (a file that shrank under the
// reader) end a search as if there were no more chunks; the source tells why.
//
// Results are 0 for success or one of these error codes (shown to the user as
// "MMIO Error %d", so they keep the platform's numbers):
//   265 kChunkNotFound  no chunk of the wanted kind between the position and the end of
//                       the parent (or of the bytes when there is no parent)
//   263 kCannotSeek     leaving a chunk whose declared size reaches past the end of its
//                       parent: the chunk is truncated and what follows it is unknown; the
//                       position is left at the end of the bytes the chunk really has
class RiffReader {
  public:
    static constexpr int kCannotSeek = 263;
    static constexpr int kChunkNotFound = 265;

    enum class Find {
        Chunk,  // a chunk with the given id
        Riff,   // a RIFF chunk of any form type
        List,   // a LIST chunk of any list type
    };

    explicit RiffReader(ByteSource& source) : source_(source), size_(source.size()) {}

    // Searches from the current position. On success the position is the chunk's data
    // (after the 4-byte type for RIFF and LIST); on failure it is unchanged.
    int descend(RiffChunk& chunk, const RiffChunk* parent, Find mode, uint32_t id = 0);

    // Moves to the end of the chunk plus its pad byte (the pad byte may be missing at the
    // very end of the parent).
    int ascend(const RiffChunk& chunk);

    // Copies up to count bytes from the current position, never past the chunk's end;
    // gives the number copied.
    size_t read(const RiffChunk& chunk, void* out, size_t count);

    // The chunk's data bytes (cut to what the file holds); false when they cannot be read.
    bool readData(const RiffChunk& chunk, std::vector<uint8_t>& out);

    size_t position() const { return position_; }
    // Offsets past the end are taken as the end.
    void seek(size_t offset) { position_ = offset < size_ ? offset : size_; }

  private:
    static constexpr size_t kHeaderSize = 8;

    ByteSource& source_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace murmelix
