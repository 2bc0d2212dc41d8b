// The ticks of a chart's axis at round numbers: a step of 1, 2 or 5 times a
// power of ten, the fewest intervals' worth of it that still covers the
// values, the axis running from the tick at or below the lowest value to the
// tick at or above the highest.
//
//   RoundTicks(0.63, 0.67)      // 0.63, 0.64 ... 0.67: step 0.01, 4 intervals, 2 decimals
//   RoundTicks(14.46, 14.675)   // 14.45 ... 14.7: step 0.05, 5 intervals
//   RoundTicks(-3.2, 7.9)       // -4 ... 8: step 2, 6 intervals, no decimals
#pragma once

namespace wormgear {

struct AxisTicks {
    double low, high;  // the first and the last tick: where the axis starts and ends
    double step;       // between neighbouring ticks
    int intervals;     // (high - low) / step
    int decimals;      // the digits after the point a tick's number needs
};

// At most `mostIntervals` intervals (7 ticks by default, a few more than a
// small chart has room to name). Equal ends get a span around them: 2 % of
// the value, or 1 about zero. Ends that are not finite numbers give the axis
// 0 to 1.
AxisTicks RoundTicks(double lowest, double highest, int mostIntervals = 6);

}  // namespace wormgear
