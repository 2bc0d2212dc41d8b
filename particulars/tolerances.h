// The tolerances a worm-pair drawing takes, by accuracy grade (5 to 8) and
// centre-distance band, as the designer enters them from his standard into
// the coefficient store (table gongcha). The program ships no numbers: a
// quantity nobody entered is missing, never 0. No Qt: the drawings read it.
//
//   ToleranceTable table;
//   table.bands.push_back({8, 160, 250, {...}});
//   auto grade = GradeOfAccuracyText("8j (GB/T16445-1996)");   // 8
//   const ToleranceBand* band = table.find(*grade, 200);        // 160 < 200 <= 250
//   band->value(ToleranceQuantity::CentreDistance)             // µm as entered, or missing
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace wormgear {

inline constexpr int kLowestToleranceGrade = 5;
inline constexpr int kHighestToleranceGrade = 8;

// The quantities of a band, each in µm, or missing (not entered).
enum class ToleranceQuantity {
    WormThicknessUpper,  // upper deviation of the worm's tooth thickness at the measuring height
    WormThicknessLower,  // its lower deviation
    WheelThicknessUpper,
    WheelThicknessLower,
    CentreDistance,  // the centre-distance deviation, +-
    MidPlane,        // the mid-plane deviation (offset of the wheel's mid-plane), +-
    WormRunout,      // the worm's radial runout
    WheelRunout,     // the wheel's radial runout
};
inline constexpr int kToleranceQuantityCount = 8;

struct ToleranceBand {
    int grade = 0;
    // The band holds the centre distances A with from < A <= to, mm.
    double from = 0, to = 0;
    std::array<std::optional<double>, kToleranceQuantityCount> values;

    const std::optional<double>& value(ToleranceQuantity q) const { return values[static_cast<std::size_t>(q)]; }
};

struct ToleranceTable {
    std::vector<ToleranceBand> bands;  // in the store's order

    // The first band of `grade` that holds `centreDistance`; none when no band
    // was entered for them.
    const ToleranceBand* find(int grade, double centreDistance) const;
    bool empty() const { return bands.empty(); }
};

// Why a table cannot be kept: the first fault of CheckToleranceBands.
struct ToleranceProblem {
    enum class Kind {
        Grade,       // a grade outside 5..8
        Band,        // not 0 <= from < to
        WormOrder,   // the worm's lower thickness deviation above its upper one
        WheelOrder,  // the wheel's
        Overlap,     // a band of the same grade overlapping an earlier one (`other`)
    };
    std::size_t row;  // from 0, in the table's order
    Kind kind;
    std::size_t other = 0;
};
std::optional<ToleranceProblem> CheckToleranceBands(const std::vector<ToleranceBand>& bands);

// The grade an accuracy text names: its leading number, blanks before it
// skipped ("8j (GB/T16445-1996)" -> 8, " 7 " -> 7); none for a text without a
// leading number or one outside 5..8 ("j8", "9c").
std::optional<int> GradeOfAccuracyText(const std::string& accuracy);

// The quantities the drawings take for a design: its accuracy text and its
// centre distance; every quantity missing when no band holds them.
std::array<std::optional<double>, kToleranceQuantityCount> TolerancesFor(const ToleranceTable& table,
                                                                         const std::string& accuracy,
                                                                         double centreDistance);

}  // namespace wormgear
