#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "random/pseudo_generator.h"

namespace murmelix {

// The arithmetic behind the r and x controls of the fractal dialog: one step of the map,
// the exchange between a text field and its slider (which counts millionths), the
// "Random" buttons, and the message for a field that is not a number.
class FractalFormula {
  public:
    // Slider ranges in millionths: r from 3.5 to 4.0, x from 0 to 1.
    static constexpr int32_t kGrowthMin = 3500000;
    static constexpr int32_t kGrowthMax = 4000000;
    static constexpr int32_t kPopulationMin = 0;
    static constexpr int32_t kPopulationMax = 1000000;

    static constexpr const char* kErrorCaption = "Error";

    // x := (r * x) * (1 - x), in this order.
    static long double iterate(long double r, long double x);

    // The value a slider position stands for, as a field shows it.
    static std::string sliderText(int32_t position);
    // The slider position for a value: its millionths truncated toward zero, limited to
    // [min, max]. A product that falls a hair below a whole number only through binary
    // arithmetic counts as that number, so every text sliderText() writes reads back as
    // the position it came from and a field and its slider settle after one exchange.
    static int32_t sliderPosition(long double value, int32_t min, int32_t max);
    // A random position on the slider's grid; the generator advances by one step.
    static int32_t randomPosition(PseudoGenerator& generator, int32_t min, int32_t max);

    // What the error box says about a field whose text is not a number.
    static std::string invalidNumberMessage(std::string_view text);
};

}  // namespace murmelix
