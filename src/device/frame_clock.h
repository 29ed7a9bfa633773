#pragma once

#include <cstdint>

namespace murmelix {

// Turns virtual milliseconds into whole frames at a rate and a 16.16 speed, carrying the
// fractions over so that many short steps add up to exactly what one long step gives.
class FrameClock {
  public:
    // Frames that elapse in ms at rate frames per second times speed / 65536.
    uint64_t advance(uint64_t ms, uint32_t rate, uint32_t speed);
    // Forgets the carried fraction.
    void restart() { carry_ = 0; }

  private:
    uint64_t carry_ = 0;  // in units of 1 / (1000 x 65536) frame
};

}  // namespace murmelix
