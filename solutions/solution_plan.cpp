// Plans of tables of solutions: the request checked and turned into exact
// decimal ranges of the fields the calculation reads.
#include "solutions/solution_plan.h"

#include <algorithm>

#include "calc/numeric.h"

namespace wormgear {

namespace {

// A plain decimal held exactly: "-12.50" -> digits 1250, scale 2.
struct ExactDecimal {
    bool negative = false;
    unsigned __int128 digits = 0;
    int scale = 0;
};

// At most 18 significant digits, as a sweep's ranges hold them; two of them
// multiply within the 38 digits of 128 bits.
constexpr int kMostDigits = 18;

// The plain decimal a text reads as with `separator` (blanks around it
// skipped), or nothing: "200", "0.63", ".5", "-1".
std::optional<ExactDecimal> ReadExact(std::string_view text, char separator) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    ExactDecimal d;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) d.negative = text[at++] == '-';
    bool point = false, anyDigit = false;
    int significant = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == separator && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return std::nullopt;
        anyDigit = true;
        if (d.digits != 0 || c != '0') ++significant;
        if (significant > kMostDigits) return std::nullopt;
        d.digits = d.digits * 10 + static_cast<unsigned>(c - '0');
        if (point) ++d.scale;
    }
    if (!anyDigit || d.scale > kMostDigits) return std::nullopt;
    return d;
}

ExactDecimal Product(const ExactDecimal& a, const ExactDecimal& b) {
    return {a.negative != b.negative, a.digits * b.digits, a.scale + b.scale};
}

// The text of an exact decimal with '.', trailing zeros dropped: 126.0 -> "126".
std::string Text(ExactDecimal d) {
    while (d.scale > 0 && d.digits % 10 == 0) {
        d.digits /= 10;
        --d.scale;
    }
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(d.digits % 10)));
        d.digits /= 10;
    } while (d.digits > 0);
    if (static_cast<int>(digits.size()) <= d.scale)
        digits.insert(0, static_cast<std::size_t>(d.scale) + 1 - digits.size(), '0');
    if (d.scale > 0) digits.insert(digits.size() - static_cast<std::size_t>(d.scale), 1, '.');
    if (d.negative && digits != "0") digits.insert(digits.begin(), '-');
    return digits;
}

bool Whole(const ExactDecimal& d) {
    unsigned __int128 unit = 1;
    for (int k = 0; k < d.scale; ++k) unit *= 10;
    return d.digits % unit == 0;
}

// A field text as a plain number above 0, or a refusal naming it.
ExactDecimal PositiveNumber(const std::string& text, char separator, SolutionInput input, const char* name) {
    bool readable = true;
    try {
        ParseReal(text, separator);
    } catch (const NumericError&) {
        readable = false;
    }
    const std::optional<ExactDecimal> exact = readable ? ReadExact(text, separator) : std::nullopt;
    if (!exact) {
        throw SolutionRequestError(
            input, std::string(name) + " \"" + text + "\" is not a plain decimal number of at most 18 digits");
    }
    if (exact->negative || exact->digits == 0) {
        throw SolutionRequestError(input, std::string(name) + " \"" + text + "\" must be greater than 0");
    }
    return *exact;
}

// A range as typed, each of its texts read with the user's separator.
DecimalRange TypedRange(const SolutionRange& range, char separator, SolutionInput input) {
    auto point = [separator](std::string text) {
        if (separator != '.') std::replace(text.begin(), text.end(), separator, '.');
        text.erase(0, text.find_first_not_of(' '));
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    };
    try {
        return DecimalRange(point(range.from), point(range.to), point(range.step));
    } catch (const SweepError& e) {
        throw SolutionRequestError(input, e.what());
    }
}

// The range `range`, which TypedRange has taken, times `factor`, exactly.
DecimalRange ScaledRange(const SolutionRange& range, char separator, const ExactDecimal& factor, SolutionInput input) {
    auto scaled = [&](const std::string& text) {
        std::string point = text;
        if (separator != '.') std::replace(point.begin(), point.end(), separator, '.');
        // TypedRange read it, so it is a plain decimal of at most 18 digits.
        const std::optional<ExactDecimal> exact = ReadExact(point, '.');
        if (!exact) throw SolutionRequestError(input, "\"" + text + "\" is not a plain decimal number");
        return Text(Product(*exact, factor));
    };
    try {
        return DecimalRange(scaled(range.from), scaled(range.to), scaled(range.step));
    } catch (const SweepError& e) {
        throw SolutionRequestError(input, e.what());
    }
}

}  // namespace

SolutionPlan::SolutionPlan(const SolutionRequest& request, char separator) : request_(request), separator_(separator) {
    const DesignInputs& base = request.base;
    const ExactDecimal A = PositiveNumber(base.CentreDistance, separator, SolutionInput::CentreDistance,
                                          "centre-distance");

    // The starts and teeth.
    if (request.startsOneToFour) {
        const ExactDecimal i = PositiveNumber(base.SpeedRatio, separator, SolutionInput::SpeedRatio, "speed-ratio");
        for (int z1 = 1; z1 <= 4; ++z1) {
            const ExactDecimal z2 = Product(i, ExactDecimal{false, static_cast<unsigned>(z1), 0});
            if (!Whole(z2)) continue;
            const std::string teeth = Text(z2);
            try {
                ParseInteger(teeth);
            } catch (const NumericError&) {
                continue;  // beyond the teeth a design holds
            }
            starts_.emplace_back(std::to_string(z1), teeth);
        }
        if (starts_.empty()) {
            throw SolutionRequestError(SolutionInput::Starts, "no number of starts from 1 to 4 times the speed ratio " +
                                                                  base.SpeedRatio + " gives a whole number of teeth");
        }
    } else {
        starts_.emplace_back(base.WormStarts, base.WheelTeeth);
    }

    // Db = share x A.
    shares_.emplace(TypedRange(request.share, separator, SolutionInput::Share));
    const DecimalRange diameters = ScaledRange(request.share, separator, A, SolutionInput::Share);

    // d1 = factor x R3(A^c[0]), the base the read-out under the field divides by.
    Real base0 = 0;
    try {
        base0 = R3(PowerReal(ParseReal(base.CentreDistance, separator),
                             request.coefficients[Coefficient::PitchDiameterExponent]));
    } catch (const NumericError&) {
    }
    factorBase_ = FormatReal(base0, '.');
    const std::optional<ExactDecimal> B = ReadExact(factorBase_, '.');
    if (!B || B->digits == 0) {
        throw SolutionRequestError(SolutionInput::CentreDistance,
                                   "R3(A^c[0]) = " + factorBase_ + " gives no worm pitch diameter to scale");
    }
    factors_.emplace(TypedRange(request.factor, separator, SolutionInput::Factor));
    const DecimalRange pitches = ScaledRange(request.factor, separator, *B, SolutionInput::Factor);

    // The axes of the sweep, each checked by the sweep's own rules; the
    // starts multiply its count.
    const std::uint64_t most = SweepPlan::kMostCombinations / starts_.size();
    auto add = [&](DesignField field, const DecimalRange& range, SolutionInput input) {
        const bool tooMany = range.count() > most / sweep_.count();
        try {
            sweep_.add(field, range);
        } catch (const SweepError& e) {
            throw SolutionRequestError(tooMany ? SolutionInput::Combinations : input, e.what());
        }
        if (tooMany) {
            throw SolutionRequestError(
                SolutionInput::Combinations,
                "the sweep has more than " + std::to_string(SweepPlan::kMostCombinations) + " combinations");
        }
    };
    add(DesignField::MainBaseDiameter, diameters, SolutionInput::Share);
    add(DesignField::WormPitchDiameter, pitches, SolutionInput::Factor);
    if (request.eccentricity) {
        add(DesignField::TipArcEccentricity, TypedRange(*request.eccentricity, separator, SolutionInput::Eccentricity),
            SolutionInput::Eccentricity);
    }
    if (request.backlash) {
        add(DesignField::Backlash, TypedRange(*request.backlash, separator, SolutionInput::Backlash),
            SolutionInput::Backlash);
    }

    const auto axis = [](SolutionAxis a) { return static_cast<int>(a); };
    sizes_[axis(SolutionAxis::Starts)] = starts_.size();
    sizes_[axis(SolutionAxis::Share)] = diameters.count();
    sizes_[axis(SolutionAxis::Factor)] = pitches.count();
    sizes_[axis(SolutionAxis::Eccentricity)] = request.eccentricity ? sweep_.axes()[2].range.count() : 1;
    sizes_[axis(SolutionAxis::Backlash)] = request.backlash ? sweep_.axes().back().range.count() : 1;
    std::uint64_t stride = 1;
    for (int a = kSolutionAxisCount - 1; a >= 0; --a) {
        strides_[a] = stride;
        stride *= sizes_[a];
    }
    count_ = stride;
}

void SolutionPlan::apply(std::uint64_t design, DesignInputs& inputs) const {
    const auto& [starts, teeth] = starts_[position(design, SolutionAxis::Starts)];
    inputs.WormStarts = starts;
    inputs.WheelTeeth = teeth;
    sweep_.apply(design % sweep_.count(), inputs, separator_);
}

std::string SolutionPlan::text(std::uint64_t design, DesignField field, char separator) const {
    const auto& [starts, teeth] = starts_[position(design, SolutionAxis::Starts)];
    if (field == DesignField::WormStarts) return starts;
    if (field == DesignField::WheelTeeth) return teeth;
    // The swept fields, each on the axis of its range.
    std::uint64_t stride = 1;
    for (auto axis = sweep_.axes().rbegin(); axis != sweep_.axes().rend(); ++axis) {
        const std::uint64_t n = axis->range.count();
        if (axis->field == field) return axis->range.text(design % sweep_.count() / stride % n, separator);
        stride *= n;
    }
    return FieldText(request_.base, field);
}

bool SolutionPlan::sweeps(DesignField field) const {
    return std::any_of(sweep_.axes().begin(), sweep_.axes().end(),
                       [field](const SweepAxis& axis) { return axis.field == field; });
}

DesignInputs SolutionPlan::inputs(std::uint64_t design) const {
    DesignInputs texts = request_.base;
    apply(design, texts);
    return texts;
}

}  // namespace wormgear
