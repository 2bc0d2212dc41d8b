// Sweep plans: the axes, their checks and the texts of each combination.
#include "sweep/sweep.h"

#include <string>

#include "calc/numeric.h"

namespace wormgear {

namespace {

// The number the calculation reads from a value's text.
Real Read(const DecimalRange& range, std::uint64_t k) { return ToReal(ParseReal(range.text(k, '.'), '.')); }

}  // namespace

void SweepPlan::add(std::string_view spec) {
    const std::size_t equals = spec.find('=');
    if (equals == std::string_view::npos) {
        throw SweepError("\"" + std::string(spec) + "\" is not FIELD=FROM:TO:STEP");
    }
    const std::string_view option = spec.substr(0, equals);
    const DesignFieldDescription* field = FieldByOption(option);
    if (!field) throw SweepError("\"" + std::string(option) + "\" names no field (see the field options of --help)");
    try {
        add(field->field, ParseDecimalRange(spec.substr(equals + 1)));
    } catch (const SweepError& e) {
        throw SweepError(std::string(option) + ": " + e.what());
    }
}

void SweepPlan::add(DesignField field, const DecimalRange& range) {
    const DesignFieldDescription& description = DesignFields()[static_cast<int>(field)];
    for (const SweepAxis& axis : axes_) {
        if (axis.field == field) throw SweepError(std::string(description.option) + " is swept twice");
    }
    if (field == DesignField::WheelTeeth || field == DesignField::WormStarts) {
        if (!range.whole()) throw SweepError(std::string(description.option) + " takes whole numbers only");
        try {
            ParseInteger(range.text(0, '.'));
            ParseInteger(range.text(range.count() - 1, '.'));
        } catch (const NumericError&) {
            throw SweepError(std::string(description.option) + " takes whole numbers of 32 bits only");
        }
    } else if (range.count() > 1 && description.calculated) {
        // Neighbouring values must read as different numbers: the spacing of
        // the numbers grows with their size, so the ends decide.
        const std::uint64_t last = range.count() - 1;
        try {
            if (Read(range, 0) == Read(range, 1) || Read(range, last - 1) == Read(range, last)) {
                throw SweepError(std::string(description.option) +
                                 ": the step is too small to change the number the calculation reads");
            }
        } catch (const NumericError&) {
            throw SweepError(std::string(description.option) +
                             ": the range goes beyond the numbers the calculation holds");
        }
    }
    if (range.count() > kMostCombinations / count()) {
        throw SweepError("the sweep has more than " + std::to_string(kMostCombinations) + " combinations");
    }
    axes_.push_back({field, range});
}

std::uint64_t SweepPlan::count() const {
    std::uint64_t total = 1;
    for (const SweepAxis& axis : axes_) total *= axis.range.count();
    return total;
}

void SweepPlan::apply(std::uint64_t index, DesignInputs& inputs, char separator) const {
    char text[24];
    for (auto axis = axes_.rbegin(); axis != axes_.rend(); ++axis) {
        const std::uint64_t n = axis->range.count();
        FieldText(inputs, axis->field).assign(text, axis->range.text(index % n, separator, text));
        index /= n;
    }
}

}  // namespace wormgear
