#pragma once

#include <cstdint>

namespace murmelix {

// R(n): the next number from 0 to n - 1 of whatever random source is selected. The selection
// code only needs this, which keeps it testable with scripted numbers.
class RandomDraw {
  public:
    virtual ~RandomDraw() = default;
    virtual int32_t next(int32_t bound) = 0;
    // Raised by a source that ran out or failed; no further number can be trusted.
    virtual bool halted() const { return false; }
};

}  // namespace murmelix
