// A table of solutions: every design around one centre distance and one
// speed ratio, the main base circle as a share of A and the worm pitch
// diameter as a factor of R3(A^c[0]) (the read-outs under the two fields),
// each over a range with its step, the E value and the backlash fixed or
// over ranges of their own, and the starts either as typed or running over
// 1 to 4 with z2 = i·z1 wherever that is a whole number.
//
//   SolutionRequest request;            // A "200", i "25", z1 "2", z2 "50", ...
//   request.share = {"0.63", "0.67", "0.01"};
//   request.factor = {"0.6", "0.78", "0.01"};
//   SolutionPlan plan(request, '.');    // 5 x 19 = 95 designs
//   plan.inputs(0).MainBaseDiameter     // "126"    (0.63 x 200, exact)
//   plan.inputs(0).WormPitchDiameter    // "61.8804" (0.6 x R3(200^0.875) = 0.6 x 103.134)
//
// The designs are numbered with the starts varying slowest, then the share,
// the factor, the E value and the backlash. Every value is an exact decimal:
// Db = share x A and d1 = factor x R3(A^c[0]) are products of decimals, so
// the ranges never drift.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/design.h"
#include "calc/hints.h"
#include "sweep/sweep.h"

namespace wormgear {

// FROM, TO and STEP as typed.
struct SolutionRange {
    std::string from, to, step;
};

struct SolutionRequest {
    // The texts of the design; A, i, z2, z1, E and jn as the designer fixes
    // them, the grinding increment and the four texts as they go along.
    DesignInputs base;
    // z1 over 1..4 with z2 = i·z1 where that is whole, instead of z1 and z2 as typed.
    bool startsOneToFour = false;
    // Db / A and d1 / R3(A^c[0]) over the hints' ranges (calc/hints.h).
    SolutionRange share{kBaseDiameterShareHint.low, kBaseDiameterShareHint.high, "0.01"};
    SolutionRange factor{kPitchDiameterFactorHint.low, kPitchDiameterFactorHint.high, "0.01"};
    std::optional<SolutionRange> eccentricity;  // E, mm; fixed when absent
    std::optional<SolutionRange> backlash;      // jn, mm; fixed when absent
    bool roundEnvelopedTeeth = false;           // the window's 取整数
    TCoefficientTable coefficients;
};

// The parts of a request a refusal names.
enum class SolutionInput : std::uint8_t {
    CentreDistance,  // not a plain number above 0, or A^c[0] beyond the table
    SpeedRatio,      // not a plain number above 0 (z1 over 1..4)
    Starts,          // no z1 in 1..4 gives a whole z2
    Share,
    Factor,
    Eccentricity,
    Backlash,
    Combinations,  // more designs than a sweep takes
};

// A request that cannot be tabulated: which part, and the reason in the
// words of the sweep's rules (English, naming the range).
class SolutionRequestError : public std::runtime_error {
 public:
    SolutionRequestError(SolutionInput input, const std::string& reason) : std::runtime_error(reason), input_(input) {}
    SolutionInput input() const { return input_; }

 private:
    SolutionInput input_;
};

// The axes of the table, slowest first.
enum class SolutionAxis : std::uint8_t { Starts, Share, Factor, Eccentricity, Backlash };
inline constexpr int kSolutionAxisCount = 5;

class SolutionPlan {
 public:
    // Checks the whole request before any design is calculated; throws
    // SolutionRequestError. `separator` is the one the texts are typed with.
    SolutionPlan(const SolutionRequest& request, char separator);

    std::uint64_t count() const { return count_; }
    // How many values an axis takes (1 for a fixed one), and a design's place on it.
    std::uint64_t size(SolutionAxis axis) const { return sizes_[static_cast<int>(axis)]; }
    std::uint64_t stride(SolutionAxis axis) const { return strides_[static_cast<int>(axis)]; }
    std::uint64_t position(std::uint64_t design, SolutionAxis axis) const { return design / stride(axis) % size(axis); }

    // The texts of a design: the base with z1, z2, Db, d1 and, when they
    // run, E and jn written in, numbers with the request's separator.
    void apply(std::uint64_t design, DesignInputs& inputs) const;
    DesignInputs inputs(std::uint64_t design) const;

    // The text of one field of a design, as apply() writes it: a swept
    // value with `separator`, any other text as typed.
    std::string text(std::uint64_t design, DesignField field, char separator) const;
    // Whether a field runs over a range: Db and d1 always, E and jn when asked.
    bool sweeps(DesignField field) const;

    // The share and the factor of a design's place, with `separator`: "0.65".
    std::string shareText(std::uint64_t k, char separator) const { return shares_->text(k, separator); }
    std::string factorText(std::uint64_t k, char separator) const { return factors_->text(k, separator); }
    // R3(A^c[0]) as a text with '.': "103.264".
    const std::string& factorBase() const { return factorBase_; }

    const SolutionRequest& request() const { return request_; }
    char separator() const { return separator_; }

 private:
    SolutionRequest request_;
    char separator_;
    std::string factorBase_;
    std::vector<std::pair<std::string, std::string>> starts_;  // (z1, z2) texts
    std::optional<DecimalRange> shares_, factors_;
    SweepPlan sweep_;  // Db, d1 and the running ones of E and jn
    std::array<std::uint64_t, kSolutionAxisCount> sizes_{}, strides_{};
    std::uint64_t count_ = 0;
};

}  // namespace wormgear
