// The round ticks of the chart's axes: hand-worked ranges, and the rule
// itself checked on many random ranges (covering, at most six intervals, a
// step of 1, 2 or 5 times a power of ten, and no smaller such step would do).
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "drawing/axis_ticks.h"

namespace wormgear {
namespace {

struct Case {
    const char* what;
    double lowest, highest;
    double low, high, step;
    int intervals, decimals;
};

// Each worked by hand: the step is the first of 1, 2, 5 x 10^k whose ticks
// around the range need no more than six intervals.
const Case kCases[] = {
    {"the hint's share, 0.63 to 0.67", 0.63, 0.67, 0.63, 0.67, 0.01, 4, 2},
    {"a result along the share (the picture's 14.46 to 14.675)", 14.46, 14.675, 14.45, 14.7, 0.05, 5, 2},
    {"the factor, 0.6 to 0.78", 0.6, 0.78, 0.6, 0.8, 0.05, 4, 2},
    {"zero to one", 0, 1, 0, 1, 0.2, 5, 1},
    {"across zero", -3.2, 7.9, -4, 8, 2, 6, 0},
    {"millions", 1e6, 3.5e6, 1e6, 3.5e6, 5e5, 5, 0},
    {"a tip diameter's small change", 103.2, 103.9, 103.2, 104, 0.2, 4, 1},
    {"ends given the other way round", 0.67, 0.63, 0.63, 0.67, 0.01, 4, 2},
    {"one value: 2 % around it", 5, 5, 4.94, 5.06, 0.02, 6, 2},
    {"zero alone: 1 around it", 0, 0, -0.6, 0.6, 0.2, 6, 1},
    {"no number", NAN, 1, 0, 1, 0.2, 5, 1},
};

TEST(RoundTicks, HandWorkedRanges) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const AxisTicks ticks = RoundTicks(c.lowest, c.highest);
        EXPECT_DOUBLE_EQ(ticks.low, c.low);
        EXPECT_DOUBLE_EQ(ticks.high, c.high);
        EXPECT_DOUBLE_EQ(ticks.step, c.step);
        EXPECT_EQ(ticks.intervals, c.intervals);
        EXPECT_EQ(ticks.decimals, c.decimals);
    }
}

// Whether `step` is 1, 2 or 5 times a power of ten, and which.
bool IsRoundStep(double step, double& mantissa, int& exponent) {
    exponent = static_cast<int>(std::floor(std::log10(step) + 1e-9));
    mantissa = step / std::pow(10.0, exponent);
    for (double m : {1.0, 2.0, 5.0})
        if (std::abs(mantissa - m) < 1e-9) {
            mantissa = m;
            return true;
        }
    return false;
}

TEST(RoundTicks, CoverEveryRangeWithTheSmallestRoundStep) {
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> magnitude(-6, 6), unit(-1, 1);
    for (int n = 0; n < 20000; ++n) {
        const double scale = std::pow(10.0, magnitude(random));
        const double a = unit(random) * scale,
                     b = a + std::abs(unit(random)) * scale * std::pow(10.0, magnitude(random) / 3);
        if (!(b > a)) continue;
        const AxisTicks ticks = RoundTicks(a, b);
        SCOPED_TRACE(std::to_string(a) + " .. " + std::to_string(b));
        double m = 0;
        int e = 0;
        ASSERT_TRUE(IsRoundStep(ticks.step, m, e)) << ticks.step;
        const double slack = ticks.step * 1e-6;
        EXPECT_LE(ticks.low, a + slack);
        EXPECT_GE(ticks.high, b - slack);
        EXPECT_LE(ticks.intervals, 6);
        EXPECT_GE(ticks.intervals, 1);
        EXPECT_NEAR((ticks.high - ticks.low) / ticks.step, ticks.intervals, 1e-6);
        // The ends are whole steps.
        EXPECT_NEAR(ticks.low / ticks.step, std::round(ticks.low / ticks.step), 1e-6);
        // The next smaller round step needs more than six intervals.
        const double smaller = m == 1 ? 5 * std::pow(10.0, e - 1)
                                      : (m == 2 ? std::pow(10.0, e) : 2 * std::pow(10.0, e));
        const double needed = std::ceil(b / smaller - 1e-6) - std::floor(a / smaller + 1e-6);
        EXPECT_GT(needed, 6) << "step " << ticks.step << " where " << smaller << " would do";
        EXPECT_EQ(ticks.decimals, std::max(0, -e));
    }
}

}  // namespace
}  // namespace wormgear
