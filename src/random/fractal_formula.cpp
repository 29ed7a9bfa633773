#include "random/fractal_formula.h"

#include <cmath>

#include "random/number_format.h"

namespace murmelix {

namespace {

constexpr long double kMillionth = 0.000001L;
constexpr long double kMillion = 1000000.0L;
// Far above the error of reading a decimal text and multiplying it (a few units in the
// last place of a long double), far below the step of a value written with 15 digits.
constexpr long double kSnapTolerance = 0x1p-56L;

}  // namespace

long double FractalFormula::iterate(long double r, long double x) {
    return (r * x) * (1 - x);
}

std::string FractalFormula::sliderText(int32_t position) {
    return NumberFormat::format(position * kMillionth);
}

int32_t FractalFormula::sliderPosition(long double value, int32_t min, int32_t max) {
    const long double product = value * kMillion;
    long double whole = std::trunc(product);
    const long double next = whole + (product < 0 ? -1 : 1);
    if (std::fabs(next - product) <= std::fabs(product) * kSnapTolerance) {
        whole = next;
    }
    // Written so that NaN ends at max as well; the limits come before any conversion.
    if (!(whole < max)) {
        return max;
    }
    if (whole <= min) {
        return min;
    }
    return static_cast<int32_t>(whole);
}

int32_t FractalFormula::randomPosition(PseudoGenerator& generator, int32_t min, int32_t max) {
    const int64_t span = static_cast<int64_t>(max) + 1 - min;
    return static_cast<int32_t>(generator.next() % span + min);
}

std::string FractalFormula::invalidNumberMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value.";
}

}  // namespace murmelix
