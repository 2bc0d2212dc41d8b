// Round ticks: the step grows through 1, 2, 5, 10, 20, 50 ... until the
// ticks around the values need few enough intervals.
#include "drawing/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace wormgear {

namespace {

// m x 10^e as the double nearest to that decimal: an integer divided by an
// exact power of ten (exact up to 10^22), rounded once.
double Decimal(double m, int e) { return e >= 0 ? m * std::pow(10.0, e) : m / std::pow(10.0, -e); }

// Tick numbers within a millionth of a step of a whole one count as whole:
// 0.67 / 0.01 is 67.00000000000001 in binary.
constexpr double kSlack = 1e-6;

}  // namespace

AxisTicks RoundTicks(double lowest, double highest, int mostIntervals) {
    if (!std::isfinite(lowest) || !std::isfinite(highest)) return {0, 1, 0.2, 5, 1};
    if (lowest > highest) std::swap(lowest, highest);
    if (lowest == highest) {
        const double half = lowest == 0 ? 0.5 : std::abs(lowest) * 0.01;
        lowest -= half;
        highest += half;
    }
    mostIntervals = std::max(1, mostIntervals);
    // Start a little below the step that could do it in one interval.
    int exponent = static_cast<int>(std::floor(std::log10((highest - lowest) / mostIntervals))) - 1;
    static const double kMantissas[] = {1, 2, 5};
    for (;; ++exponent) {
        for (double m : kMantissas) {
            const double step = Decimal(m, exponent);
            const double first = std::floor(lowest / step + kSlack);
            const double last = std::ceil(highest / step - kSlack);
            const double intervals = last - first;
            if (intervals > mostIntervals) continue;
            AxisTicks ticks;
            ticks.low = Decimal(first * m, exponent);
            ticks.high = Decimal(last * m, exponent);
            ticks.step = step;
            ticks.intervals = static_cast<int>(intervals);
            ticks.decimals = std::max(0, -exponent);
            return ticks;
        }
    }
}

}  // namespace wormgear
