// Sweeps over design fields: every combination of decimal ranges of some
// fields, each combination a design whose other texts stay as given.
//
//   SweepPlan plan;
//   plan.add("base-diameter=126:134:1");   // 9 values
//   plan.add("pitch-diameter=62:80:0.5");  // 37 values
//   plan.count()                           // 333 designs, the first axis varying slowest
//   DesignInputs texts = base;
//   plan.apply(10, texts, '.');            // Db "127", d1 "62.5"
//
// RunInOrder (sweep/ordered_run.h) calculates the combinations on worker
// threads and hands the results back in order.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "calc/fields.h"
#include "sweep/decimal_range.h"

namespace wormgear {

struct SweepAxis {
    DesignField field;
    DecimalRange range;
};

class SweepPlan {
 public:
    // More combinations than this are refused before any work.
    static constexpr std::uint64_t kMostCombinations = 10000000;

    // Adds "FIELD=FROM:TO:STEP", FIELD a field's long option name. Refused
    // with SweepError (the plan unchanged): an unknown field or one already
    // swept, a range DecimalRange refuses, a step too small to change the
    // number the calculation reads, teeth or starts that are not whole
    // numbers, or more than kMostCombinations in all.
    void add(std::string_view spec);
    void add(DesignField field, const DecimalRange& range);

    std::uint64_t count() const;  // 1 without an axis
    const std::vector<SweepAxis>& axes() const { return axes_; }

    // The texts of combination `index` written into the swept fields of
    // `inputs`, numbers with `separator` as the calculation reads them.
    void apply(std::uint64_t index, DesignInputs& inputs, char separator) const;

 private:
    std::vector<SweepAxis> axes_;
};

}  // namespace wormgear
