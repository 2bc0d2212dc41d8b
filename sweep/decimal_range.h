// Ranges of decimal texts for sweeps: FROM, TO and STEP read as exact
// decimals, every value produced as its exact decimal text, so that
// 0.63:0.67:0.01 gives 0.63, 0.64, 0.65, 0.66, 0.67 and never 0.6500000001.
//
//   const DecimalRange range = ParseDecimalRange("0.63:0.67:0.01");
//   range.count()        // 5
//   range.text(2, '.')   // "0.65"
//   range.text(2, ',')   // "0,65"
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wormgear {

// A range that cannot be swept; the text says why, in English, naming the range.
class SweepError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

class DecimalRange {
 public:
    // FROM, FROM + STEP, ... up to TO (included when the steps land on it).
    // All three are plain decimals ("-1.5", "200", ".25"), STEP above 0, TO
    // not below FROM, and together at most 18 significant digits at the finest
    // scale. Anything else throws SweepError.
    DecimalRange(std::string_view from, std::string_view to, std::string_view step);

    std::uint64_t count() const { return count_; }
    bool whole() const { return scale_ == 0; }  // every value a whole number

    // The k-th value's text, trailing zeros dropped: "0.65", "-2", "1.5".
    std::string text(std::uint64_t k, char separator) const;
    // The same into a caller's buffer of at least 24 characters; returns the length.
    std::size_t text(std::uint64_t k, char separator, char* out) const;

 private:
    std::int64_t from_ = 0;  // in units of 10^-scale_
    std::int64_t step_ = 0;
    int scale_ = 0;  // digits after the decimal point
    std::uint64_t count_ = 0;
};

// "FROM:TO:STEP" -> DecimalRange; throws SweepError.
DecimalRange ParseDecimalRange(std::string_view text);

}  // namespace wormgear
