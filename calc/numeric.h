// Numeric rules shared by every calculation, suggestion and sheet: the number
// types, rounding, text <-> number conversion and checked arithmetic. Every
// arithmetic fault raises a typed error where it happens, so no infinity or NaN
// ever reaches a stored value or a text.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wormgear {

using Extended = long double;  // x87 80-bit, 64-bit significand
using Real = double;           // IEEE binary64, every stored non-integer value

static_assert(sizeof(Extended) >= 10, "Extended needs the 80-bit x87 type");

// The Extended value nearest to pi, 3.14159265358979323851...
inline constexpr Extended Pi = 3.14159265358979323851280895940618620443274267017841339111328125L;
// The Extended value nearest to pi/180, 0.0174532925199432957691...; the
// generating-plane formula turns degrees into radians with this one constant.
inline constexpr Extended PiOver180 = 0.0174532925199432957691369614547962108910246752202510833740234375L;

// The four faults of the numeric rules. Their texts are for the application's
// last-resort handler; commands show their own fixed messages instead.
class NumericError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};
class EConvertError : public NumericError {
 public:
    using NumericError::NumericError;
};
class EInvalidOp : public NumericError {
 public:
    EInvalidOp() : NumericError("Invalid floating point operation") {}
};
class EZeroDivide : public NumericError {
 public:
    EZeroDivide() : NumericError("Floating point division by zero") {}
};
class EOverflow : public NumericError {
 public:
    EOverflow() : NumericError("Floating point overflow") {}
};

// The decimal separator of the user's locale ("." when the environment names
// none or it has none): "," under de_DE.UTF-8. Each program reads it once at
// start and hands it to every number text it reads or writes.
char UserDecimalSeparator();

// Raise the errors above; out of line so that the checks inlined below stay small.
namespace fault {
[[noreturn]] void InvalidOp();
[[noreturn]] void Overflow();
// x/0: EInvalidOp for 0/0 and NaN/0, else EZeroDivide.
[[noreturn]] void DivisionByZero(Extended dividend);
// EInvalidOp for a NaN, EOverflow for an infinity.
[[noreturn]] void NotFinite(Extended value);
}  // namespace fault

// An infinity or NaN never leaves an operation: a NaN raises EInvalidOp, an
// infinity EOverflow. Finite operands of +, -, * and / give a finite result or
// an infinity (0/0 aside, which Divide refuses first), so one comparison of
// the result is all the fault detection they need; the floating-point
// environment is never read or saved.
inline Extended Checked(Extended value) {
    if (!(fabsl(value) <= std::numeric_limits<Extended>::max())) fault::NotFinite(value);
    return value;
}

// Stores an Extended into a Real (round half to even). Overflow beyond the
// Real range raises EOverflow; a NaN raises EInvalidOp.
inline Real ToReal(Extended value) {
    const Real stored = static_cast<Real>(value);  // a NaN stays a NaN, too large a value becomes an infinity
    if (!(std::fabs(stored) <= std::numeric_limits<Real>::max())) fault::NotFinite(stored);
    return stored;
}

// Checked arithmetic: x/0 raises EZeroDivide, 0/0 EInvalidOp; an infinite
// result raises EOverflow.
inline Extended Divide(Extended dividend, Extended divisor) {
    if (divisor == 0) fault::DivisionByZero(dividend);
    return Checked(dividend / divisor);
}
inline Extended Multiply(Extended a, Extended b) { return Checked(a * b); }
Extended SquareRoot(Extended value);  // negative -> EInvalidOp

namespace detail {

// The parts of an x87 80-bit number: value = significand * 2^(exponent - 16383 - 63),
// the significand with its explicit integer bit.
struct ExtendedParts {
    std::uint64_t significand;
    int biasedExponent;  // 0 .. 0x7FFF; 0x7FFF is an infinity or NaN
    bool negative;
};
inline ExtendedParts Parts(Extended value) {
    ExtendedParts parts;
    std::uint16_t signAndExponent;
    std::memcpy(&parts.significand, &value, sizeof parts.significand);
    std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&value) + 8, sizeof signAndExponent);
    parts.biasedExponent = signAndExponent & 0x7FFF;
    parts.negative = (signAndExponent & 0x8000) != 0;
    return parts;
}

// Number of fraction bits of the significand: 63 for values in [1, 2), 0 from 2^63 on.
inline int FractionBits(const ExtendedParts& parts) { return 16383 + 63 - parts.biasedExponent; }

// A magnitude of at most 2^63 with its sign as an Int64; more raises EInvalidOp.
inline std::int64_t SignedInt64(std::uint64_t magnitude, bool negative) {
    constexpr std::uint64_t kTwoTo63 = std::uint64_t{1} << 63;
    if (negative) {
        if (magnitude > kTwoTo63) fault::InvalidOp();
        return static_cast<std::int64_t>(0 - magnitude);  // -2^63 included
    }
    if (magnitude >= kTwoTo63) fault::InvalidOp();
    return static_cast<std::int64_t>(magnitude);
}

// RoundNearest where the x87 store reports the integer indefinite (-2^63):
// a NaN, a value out of range, or a value that rounds to -2^63 itself.
std::int64_t RoundNearestAtTheEdge(Extended value);

}  // namespace detail

// Nearest integer, ties to even: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2. Out of the
// Int64 range (or a NaN): EInvalidOp. The x87 integer store (fistp) rounds in
// the mode the program keeps from start to end, to nearest with ties to even;
// nothing here reads, saves or changes that mode.
inline std::int64_t RoundNearest(Extended value) {
    std::int64_t n;
    asm("fistpll %0" : "=m"(n) : "t"(value) : "st");
    if (n == std::numeric_limits<std::int64_t>::min()) return detail::RoundNearestAtTheEdge(value);
    return n;
}

// Toward zero: 2.9 -> 2, -2.9 -> -2. Out of the Int64 range: EInvalidOp.
inline std::int64_t TruncateToInteger(Extended value) {
    const detail::ExtendedParts parts = detail::Parts(value);
    if (parts.biasedExponent == 0x7FFF) fault::InvalidOp();
    const int fraction = detail::FractionBits(parts);
    if (fraction < 0) fault::InvalidOp();
    const std::uint64_t magnitude = fraction >= 64 ? 0 : parts.significand >> fraction;
    return detail::SignedInt64(magnitude, parts.negative);
}

// The factors of the digit counts in use, each computed as the rule computes
// it: 10^-3 is 1/1000 in Extended, then stored as a Real. The compiler folds
// the constants the same way: quotient rounded to 64 bits, then to 53.
inline constexpr Real kThousandth = static_cast<Real>(1.0L / 1000.0L);
inline constexpr Real kHundredth = static_cast<Real>(1.0L / 100.0L);

namespace detail {
// DecimalRound for other digit counts and for a NaN or an infinity.
Real DecimalRoundInGeneral(Real value, int digit, std::int64_t& scaled);
}  // namespace detail

// Nearest multiple of 10^digit, ties to even on the scaled quotient as it is
// computed: DecimalRound(0.0015, -3) -> 0.002, DecimalRound(1.0005, -3) -> 1.
// `scaled` receives the integer n of the result n * 10^digit.
inline Real DecimalRound(Real value, int digit, std::int64_t& scaled) {
    if ((digit != -3 && digit != -2 && digit != 0) || !(std::fabs(value) <= std::numeric_limits<Real>::max())) {
        return detail::DecimalRoundInGeneral(value, digit, scaled);
    }
    const Real factor = digit == -3 ? kThousandth : digit == -2 ? kHundredth : 1.0;
    // A finite Real over a factor of at least 0.001 stays far inside the
    // Extended range, and n * factor inside the Real range: neither can fault.
    scaled = RoundNearest(static_cast<Extended>(value) / static_cast<Extended>(factor));
    if (scaled == 0) return 0.0;  // never a negative zero
    return static_cast<Real>(static_cast<Extended>(scaled) * static_cast<Extended>(factor));
}
inline Real DecimalRound(Real value, int digit) {
    std::int64_t scaled;
    return DecimalRound(value, digit, scaled);
}
inline Real R3(Extended x) { return DecimalRound(ToReal(x), -3); }
inline Real R2(Extended x) { return DecimalRound(ToReal(x), -2); }
inline Real R0(Extended x) { return DecimalRound(ToReal(x), 0); }

// Repeated squaring; a negative exponent gives 1 / result (10^-3 = 1/1000).
Extended PowerInteger(Extended base, int exponent);
// 0 exponent -> 1; 0 base -> 0; integral exponent -> PowerInteger; otherwise
// e^(exponent * ln base), a negative base raising EInvalidOp.
Extended PowerReal(Extended base, Extended exponent);

// Radians in; 0 when |x| >= 2^63.
Extended Sine(Extended radians);
Extended Cosine(Extended radians);
Extended Tangent(Extended radians);
Extended ArcTangent(Extended x);  // atan2(x, 1)
Extended ArcSine(Extended x);     // atan2(x, sqrt(1 - x*x)); |x| > 1 -> EInvalidOp

// Degree <-> radian conversions in the order the formulas use:
// degrees * pi / 180 and radians * 180 / pi.
inline Extended DegreesToRadians(Extended degrees) { return degrees * Pi / 180; }
inline Extended RadiansToDegrees(Extended radians) { return radians * 180 / Pi; }

// Text -> number with `separator` as decimal separator. Blanks (spaces only)
// around the number are skipped; "5.", ".5" and "." are numbers; "1e" reads 1.
// Anything else raises EConvertError.
Extended ParseReal(std::string_view text, char separator);
// Decimal or hexadecimal ("$1F", "0x1F") 32-bit integer; leading spaces only.
std::int32_t ParseInteger(std::string_view text);

// General format with 15 significant digits and `separator` as decimal
// separator: 1234.5 -> "1234.5", 1e15 -> "1E15", 0.00001 -> "1E-5",
// 1/3 -> "0.333333333333333"; with ',' 1234.5 -> "1234,5".
std::string FormatReal(Extended value, char separator);
std::string FormatInteger(std::int32_t value);

// The longest text FormatReal writes: a sign, 15 digits, the separator, "E-"
// and a four-digit exponent fit with room to spare.
inline constexpr std::size_t kNumberTextCapacity = 32;
// The same texts written into a caller's buffer of kNumberTextCapacity
// characters, without an allocation; each returns the length written.
std::size_t FormatReal(Extended value, char separator, char* out);
std::size_t FormatInteger(std::int32_t value, char* out);
// FormatReal of a DecimalRound result, written from the integer it scaled to
// (n = 168728 at digit -3 -> "168.728"), which saves finding the digits again.
std::size_t FormatRounded(Real rounded, std::int64_t scaled, int digit, char separator, char* out);

}  // namespace wormgear
