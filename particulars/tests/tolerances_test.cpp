// The tolerance table: a grade's band by centre distance, and missing
// quantities staying missing.
#include "particulars/tolerances.h"

#include <gtest/gtest.h>

namespace wormgear {
namespace {

using Q = ToleranceQuantity;

TEST(Tolerances, TheGradeIsTheAccuracyTextsLeadingNumber) {
    const struct {
        const char* text;
        std::optional<int> grade;
    } cases[] = {
        {"8j (GB/T16445-1996)", 8},
        {"7", 7},
        {"  5c", 5},
        {"\t6", 6},
        {"4j", std::nullopt},
        {"9", std::nullopt},
        {"85", std::nullopt},
        {"j8", std::nullopt},
        {"", std::nullopt},
        {"八级", std::nullopt},
        {"005", 5},  // a leading zero is still grade 5
    };
    for (const auto& c : cases) EXPECT_EQ(GradeOfAccuracyText(c.text), c.grade) << c.text;
}

ToleranceTable TwoBands() {
    ToleranceTable table;
    ToleranceBand low{8, 80, 160, {}};
    low.values[static_cast<std::size_t>(Q::CentreDistance)] = 55;
    low.values[static_cast<std::size_t>(Q::WormThicknessUpper)] = -60;
    ToleranceBand high{8, 160, 250, {}};
    high.values[static_cast<std::size_t>(Q::CentreDistance)] = 65;
    ToleranceBand otherGrade{7, 160, 250, {}};
    otherGrade.values[static_cast<std::size_t>(Q::CentreDistance)] = 45;
    table.bands = {low, high, otherGrade};
    return table;
}

TEST(Tolerances, ABandHoldsTheCentreDistancesAboveItsStartUpToItsEnd) {
    const ToleranceTable table = TwoBands();
    const struct {
        int grade;
        double a;
        std::optional<double> centreDistance;
    } cases[] = {
        {8, 80, std::nullopt},  // "over 80": 80 itself is below the first band
        {8, 80.001, 55},          {8, 160, 55}, {8, 160.001, 65},       {8, 250, 65},
        {8, 250.5, std::nullopt}, {7, 200, 45}, {7, 100, std::nullopt}, {6, 200, std::nullopt},
    };
    for (const auto& c : cases) {
        const ToleranceBand* band = table.find(c.grade, c.a);
        EXPECT_EQ(band != nullptr, c.centreDistance.has_value()) << c.grade << " " << c.a;
        if (band) {
            EXPECT_EQ(band->value(Q::CentreDistance), c.centreDistance);
        }
    }
}

TEST(Tolerances, AQuantityNobodyEnteredIsMissingNotZero) {
    const auto values = TolerancesFor(TwoBands(), "8j (GB/T16445-1996)", 100);
    EXPECT_EQ(values[static_cast<std::size_t>(Q::WormThicknessUpper)], -60);
    EXPECT_FALSE(values[static_cast<std::size_t>(Q::WormThicknessLower)].has_value());
    EXPECT_FALSE(values[static_cast<std::size_t>(Q::WheelRunout)].has_value());
    for (const auto& v : TolerancesFor(TwoBands(), "9", 100)) EXPECT_FALSE(v.has_value());
    for (const auto& v : TolerancesFor({}, "8", 100)) EXPECT_FALSE(v.has_value());
    EXPECT_TRUE(ToleranceTable{}.empty());
}

}  // namespace
}  // namespace wormgear

namespace wormgear {
namespace {

TEST(Tolerances, ATableWhoseBandsContradictEachOtherIsRefusedAtItsFirstFault) {
    using K = ToleranceProblem::Kind;
    const auto band = [](int grade, double from, double to) { return ToleranceBand{grade, from, to, {}}; };
    ToleranceBand reversed = band(8, 80, 160);
    reversed.values[static_cast<std::size_t>(Q::WheelThicknessUpper)] = -120;
    reversed.values[static_cast<std::size_t>(Q::WheelThicknessLower)] = -100;
    ToleranceBand halfEntered = band(8, 80, 160);
    halfEntered.values[static_cast<std::size_t>(Q::WormThicknessLower)] = -100;  // the upper one missing: no order
    const struct {
        std::vector<ToleranceBand> bands;
        std::optional<K> kind;
        std::size_t row, other;
    } cases[] = {
        {{}, std::nullopt, 0, 0},
        {{band(8, 80, 160), band(8, 160, 250), band(7, 80, 250)}, std::nullopt, 0, 0},  // touching bands
        {{band(4, 80, 160)}, K::Grade, 0, 0},
        {{band(5, 80, 160), band(9, 80, 160)}, K::Grade, 1, 0},
        {{band(8, 160, 160)}, K::Band, 0, 0},
        {{band(8, -1, 160)}, K::Band, 0, 0},
        {{band(8, 80, 160), band(8, 150, 250)}, K::Overlap, 1, 0},
        {{band(8, 80, 160), band(7, 0, 50), band(8, 0, 500)}, K::Overlap, 2, 0},
        {{reversed}, K::WheelOrder, 0, 0},
        {{halfEntered}, std::nullopt, 0, 0},
    };
    for (const auto& c : cases) {
        const auto problem = CheckToleranceBands(c.bands);
        ASSERT_EQ(problem.has_value(), c.kind.has_value());
        if (!problem) continue;
        EXPECT_EQ(problem->kind, *c.kind);
        EXPECT_EQ(problem->row, c.row);
        EXPECT_EQ(problem->other, c.other);
    }
}

}  // namespace
}  // namespace wormgear
