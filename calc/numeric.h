// Numeric rules shared by every calculation, suggestion and sheet: the number
// types, rounding, text <-> number conversion and checked arithmetic. Every
// arithmetic fault raises a typed error where it happens, so no infinity or NaN
// ever reaches a stored value or a text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

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

// Stores an Extended into a Real (round half to even). Overflow beyond the
// Real range raises EOverflow; a NaN raises EInvalidOp.
Real ToReal(Extended value);

// Checked arithmetic: x/0 raises EZeroDivide, 0/0 EInvalidOp; an infinite
// result raises EOverflow.
Extended Divide(Extended dividend, Extended divisor);
Extended Multiply(Extended a, Extended b);
Extended SquareRoot(Extended value);  // negative -> EInvalidOp

// Nearest integer, ties to even: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
std::int64_t RoundNearest(Extended value);
// Toward zero: 2.9 -> 2, -2.9 -> -2. Out of the Int64 range: EInvalidOp.
std::int64_t TruncateToInteger(Extended value);

// Nearest multiple of 10^digit, ties to even on the scaled quotient as it is
// computed: DecimalRound(0.0015, -3) -> 0.002, DecimalRound(1.0005, -3) -> 1.
Real DecimalRound(Real value, int digit);
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
Extended ParseReal(const std::string& text, char separator);
// Decimal or hexadecimal ("$1F", "0x1F") 32-bit integer; leading spaces only.
std::int32_t ParseInteger(const std::string& text);

// General format with 15 significant digits and `separator` as decimal
// separator: 1234.5 -> "1234.5", 1e15 -> "1E15", 0.00001 -> "1E-5",
// 1/3 -> "0.333333333333333"; with ',' 1234.5 -> "1234,5".
std::string FormatReal(Extended value, char separator);
std::string FormatInteger(std::int32_t value);

}  // namespace wormgear
