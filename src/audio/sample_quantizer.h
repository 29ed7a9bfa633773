#pragma once

#include <cmath>
#include <cstdint>

namespace murmelix {

// Turns full-scale values (-1.0 up to 1.0) into 8 or 16-bit sample values: with TPDF
// dither (two uniform random values, together a triangle of +/-1 step) where the values
// carry more than the target resolution, plainly rounded where they are already whole
// steps. Values beyond full scale are clipped and counted. The dither is a fixed sequence
// from the seed, so the same input always gives the same output.
class SampleQuantizer {
  public:
    SampleQuantizer(int bits, bool dither, uint32_t seed = 0x2545F491u)
        : scale_(bits == 8 ? 128.0 : 32768.0), dither_(dither), state_(seed != 0 ? seed : 1) {}

    int quantize(double value) {
        // A damaged float file can hold NaN; it becomes silence.
        double v = std::isnan(value) ? 0.0 : value * scale_;
        // A 24-bit full-scale peak (32767.996) only rounds to the top value; a clip is a
        // value beyond full scale, which only float sources can hold.
        if (v > scale_ || v < -scale_) {
            ++clipped_;
        }
        if (dither_) {
            v += uniform() - uniform();
        }
        const double rounded = std::floor(v + 0.5);
        if (rounded > scale_ - 1) {
            return static_cast<int>(scale_ - 1);
        }
        if (rounded < -scale_) {
            return static_cast<int>(-scale_);
        }
        return static_cast<int>(rounded);
    }

    // Samples whose value lay beyond full scale.
    int64_t clipped() const { return clipped_; }

  private:
    // xorshift32: fast, and good enough to decorrelate rounding errors.
    double uniform() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_ >> 8) * (1.0 / 16777216.0);
    }

    double scale_;
    bool dither_;
    uint32_t state_;
    int64_t clipped_ = 0;
};

}  // namespace murmelix
