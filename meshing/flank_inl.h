// InsideIntervals: the parts of a line inside a zone, found by sampling and
// bisection.
#pragma once

#include <utility>
#include <vector>

namespace wormgear::meshing {

template <class Inside>
std::vector<std::pair<double, double>> InsideIntervals(const Inside& inside, double from, double to, int steps) {
    // The boundary between an inside and an outside sample, to 1e-9 mm.
    const auto edge = [&](double in, double out) {
        for (int k = 0; k < 60 && std::abs(out - in) > 1e-9; ++k) {
            const double middle = (in + out) / 2;
            (inside(middle) ? in : out) = middle;
        }
        return in;
    };
    std::vector<std::pair<double, double>> intervals;
    const double step = (to - from) / steps;
    bool wasInside = inside(from);
    double start = from, previous = from;
    for (int k = 1; k <= steps; ++k) {
        const double u = k == steps ? to : from + k * step;
        const bool isInside = inside(u);
        if (isInside && !wasInside) start = edge(u, previous);
        if (!isInside && wasInside) intervals.emplace_back(start, edge(previous, u));
        wasInside = isInside;
        previous = u;
    }
    if (wasInside) intervals.emplace_back(start, to);
    return intervals;
}

}  // namespace wormgear::meshing
