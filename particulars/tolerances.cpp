// Finding a design's band in the tolerance table.
#include "particulars/tolerances.h"

namespace wormgear {

const ToleranceBand* ToleranceTable::find(int grade, double centreDistance) const {
    for (const ToleranceBand& band : bands) {
        if (band.grade == grade && band.from < centreDistance && centreDistance <= band.to) return &band;
    }
    return nullptr;
}

std::optional<ToleranceProblem> CheckToleranceBands(const std::vector<ToleranceBand>& bands) {
    using K = ToleranceProblem::Kind;
    const auto ordered = [](const ToleranceBand& band, ToleranceQuantity upper, ToleranceQuantity lower) {
        return !band.value(upper) || !band.value(lower) || *band.value(lower) <= *band.value(upper);
    };
    for (std::size_t n = 0; n < bands.size(); ++n) {
        const ToleranceBand& band = bands[n];
        if (band.grade < kLowestToleranceGrade || band.grade > kHighestToleranceGrade)
            return ToleranceProblem{n, K::Grade};
        if (!(band.from >= 0 && band.from < band.to)) return ToleranceProblem{n, K::Band};
        if (!ordered(band, ToleranceQuantity::WormThicknessUpper, ToleranceQuantity::WormThicknessLower))
            return ToleranceProblem{n, K::WormOrder};
        if (!ordered(band, ToleranceQuantity::WheelThicknessUpper, ToleranceQuantity::WheelThicknessLower))
            return ToleranceProblem{n, K::WheelOrder};
        // Bands (from, to] of one grade may touch, never overlap: each
        // centre distance has one band.
        for (std::size_t m = 0; m < n; ++m) {
            const ToleranceBand& earlier = bands[m];
            if (earlier.grade == band.grade && band.from < earlier.to && earlier.from < band.to)
                return ToleranceProblem{n, K::Overlap, m};
        }
    }
    return std::nullopt;
}

std::optional<int> GradeOfAccuracyText(const std::string& accuracy) {
    std::size_t at = 0;
    while (at < accuracy.size() && (accuracy[at] == ' ' || accuracy[at] == '\t')) ++at;
    int grade = 0;
    std::size_t digits = 0;
    // A longer number names no grade of 5..8: "85" is no grade 8.
    while (at < accuracy.size() && accuracy[at] >= '0' && accuracy[at] <= '9' && digits < 3) {
        grade = grade * 10 + (accuracy[at] - '0');
        ++at;
        ++digits;
    }
    if (digits == 0 || grade < kLowestToleranceGrade || grade > kHighestToleranceGrade) return std::nullopt;
    return grade;
}

std::array<std::optional<double>, kToleranceQuantityCount> TolerancesFor(const ToleranceTable& table,
                                                                         const std::string& accuracy,
                                                                         double centreDistance) {
    const std::optional<int> grade = GradeOfAccuracyText(accuracy);
    if (!grade) return {};
    const ToleranceBand* band = table.find(*grade, centreDistance);
    return band ? band->values : std::array<std::optional<double>, kToleranceQuantityCount>{};
}

}  // namespace wormgear
