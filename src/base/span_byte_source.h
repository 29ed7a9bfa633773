#pragma once

#include <cstring>
#include <span>

#include "base/byte_source.h"

namespace murmelix {

// Bytes already in memory, read in place.
class SpanByteSource : public ByteSource {
  public:
    explicit SpanByteSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint64_t size() const override { return bytes_.size(); }

    bool read(uint64_t offset, void* out, size_t count) override {
        if (offset > bytes_.size() || count > bytes_.size() - offset) {
            return false;
        }
        if (count > 0) {
            std::memcpy(out, bytes_.data() + offset, count);
        }
        return true;
    }

  private:
    std::span<const uint8_t> bytes_;
};

}  // namespace murmelix
