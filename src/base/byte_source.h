#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace murmelix {

// Bytes that a parser reads at offsets of its choice: a file read piece by piece, or bytes
// already in memory. Parsers ask for the few bytes they need, so a file larger than what
// is worth keeping is never read whole.
class ByteSource {
  public:
    virtual ~ByteSource() = default;

    virtual uint64_t size() const = 0;

    // Copies count bytes from offset. False when they are not all there (past the end, or
    // the file changed or failed under the reader); out is then undefined.
    virtual bool read(uint64_t offset, void* out, size_t count) = 0;

    // Why a read failed although the bytes should have been there; empty when nothing
    // failed that way.
    virtual std::string failure() const { return {}; }
};

}  // namespace murmelix
