#pragma once

#include "random/random_source.h"
#include "synth/random_draw.h"

namespace murmelix {

// The selection's R(n) served by the program's random source.
class RandomSourceDraw : public RandomDraw {
  public:
    explicit RandomSourceDraw(RandomSource& source) : source_(source) {}
    int32_t next(int32_t bound) override { return source_.NextRandomNumber(bound); }
    bool halted() const override { return source_.halted(); }

  private:
    RandomSource& source_;
};

}  // namespace murmelix
