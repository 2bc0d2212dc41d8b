// Numeric rules: checked Extended arithmetic, rounding, and the conversions
// between numbers and their texts.
#include "calc/numeric.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale>

#include "calc/text.h"

namespace wormgear {

static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the x87 80-bit type with a 64-bit significand");
static_assert(std::numeric_limits<Real>::digits == 53, "Real must be IEEE binary64");

namespace {

// 2^63: the Int64 range and the argument bound of sine and cosine.
constexpr Extended kTwoTo63 = 9223372036854775808.0L;

char SeparatorFromLocale() {
    try {
        const std::locale user("");
        const char separator = std::use_facet<std::numpunct<char>>(user).decimal_point();
        return separator != '\0' ? separator : '.';
    } catch (const std::exception&) {
        return '.';  // the environment names no usable locale
    }
}

// An infinity or NaN must never leave an operation.
Extended Checked(Extended value) {
    if (std::isnan(value)) throw EInvalidOp();
    if (std::isinf(value)) throw EOverflow();
    return value;
}

std::int64_t ToInt64(Extended integral) {
    if (std::isnan(integral) || integral >= kTwoTo63 || integral < -kTwoTo63) throw EInvalidOp();
    return static_cast<std::int64_t>(integral);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// magnitude * 10^s rounded to an integer, ties to even, computed exactly:
// magnitude = M * 2^e with a 64-bit M, and 10^s = 5^s * 2^s, so the product is
// M * 5^s shifted by s + e. Needs 0 <= s <= 22 (5^22 < 2^52, so M * 5^s fits
// 128 bits). Returns false when the result does not fit 64 bits.
bool ScaledInteger(std::uint64_t mantissa, int e, int s, std::uint64_t& result) {
    static constexpr auto kPowersOfFive = [] {
        std::array<std::uint64_t, 23> powers{};
        powers[0] = 1;
        for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 5;
        return powers;
    }();
    unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * kPowersOfFive[s];
    const int shift = s + e;
    if (shift >= 0) {
        if (shift >= 64 || (product >> (64 - shift)) != 0) return false;
        product <<= shift;
    } else if (shift <= -128) {
        product = 0;
    } else {
        const unsigned __int128 kept = product >> -shift;
        const unsigned __int128 rest = product - (kept << -shift);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (-shift - 1);
        product = kept + ((rest > half || (rest == half && (kept & 1))) ? 1 : 0);
    }
    if ((product >> 64) != 0) return false;
    result = static_cast<std::uint64_t>(product);
    return true;
}

// The 18 exactly rounded significant digits of a magnitude between 10^-4 and
// 10^18, the range almost every shown value falls in; false outside it (the
// caller then asks the C library, which is exact but slower).
bool EighteenDigits(Extended magnitude, char digits[18], int& exponent) {
    if (!(magnitude >= 1e-4L && magnitude < 1e18L)) return false;
    // The x87 layout: a 64-bit significand with its integer bit, then a 15-bit
    // biased exponent; magnitude = mantissa * 2^e, normal numbers only here.
    std::uint64_t mantissa;
    std::uint16_t signAndExponent;
    std::memcpy(&mantissa, &magnitude, sizeof mantissa);
    std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&magnitude) + 8, sizeof signAndExponent);
    const int binaryExponent = (signAndExponent & 0x7FFF) - 16382;  // magnitude in [2^(b-1), 2^b)
    const int e = binaryExponent - 64;
    constexpr std::uint64_t kLow = 100000000000000000ull;  // 10^17
    constexpr std::uint64_t kHigh = 10 * kLow;             // 10^18
    // floor(log10(magnitude)) from the binary exponent; may be off by one,
    // which the loop below corrects.
    int decade = (binaryExponent - 1) * 30103 / 100000 - ((binaryExponent - 1) < 0 ? 1 : 0);
    std::uint64_t n = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int s = 17 - decade;
        if (s < 0 || s > 22 || !ScaledInteger(mantissa, e, s, n)) return false;
        if (n >= kHigh && n != kHigh) {
            ++decade;
        } else if (n < kLow) {
            --decade;
        } else {
            break;
        }
    }
    if (n == kHigh) {  // rounding carried into a 19th digit: 10^18 itself
        n = kLow;
        ++decade;
    }
    if (n < kLow || n >= kHigh) return false;
    for (int k = 17; k >= 0; --k) {
        digits[k] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    exponent = decade + 1;
    return true;
}

}  // namespace

char UserDecimalSeparator() { return SeparatorFromLocale(); }

Real ToReal(Extended value) {
    if (std::isnan(value)) throw EInvalidOp();
    const Real stored = static_cast<Real>(value);
    if (std::isinf(stored)) throw EOverflow();
    return stored;
}

Extended Divide(Extended dividend, Extended divisor) {
    if (divisor == 0) {
        if (dividend == 0 || std::isnan(dividend)) throw EInvalidOp();
        throw EZeroDivide();
    }
    return Checked(dividend / divisor);
}

Extended Multiply(Extended a, Extended b) { return Checked(a * b); }

Extended SquareRoot(Extended value) {
    if (std::isnan(value) || value < 0) throw EInvalidOp();
    return sqrtl(value);
}

std::int64_t RoundNearest(Extended value) {
    // nearbyintl rounds in the current mode, which is to nearest, ties to even.
    return ToInt64(nearbyintl(value));
}

std::int64_t TruncateToInteger(Extended value) { return ToInt64(truncl(value)); }

Real DecimalRound(Real value, int digit) {
    // The factors of the three digit counts in use, computed once the same way.
    static const Real kThousandth = ToReal(PowerInteger(10, -3));
    static const Real kHundredth = ToReal(PowerInteger(10, -2));
    const Real factor = digit == -3   ? kThousandth
                        : digit == -2 ? kHundredth
                        : digit == 0  ? 1.0
                                      : ToReal(PowerInteger(10, digit));
    const Extended quotient = Divide(static_cast<Extended>(value), static_cast<Extended>(factor));
    const std::int64_t n = RoundNearest(quotient);
    const Real result = ToReal(static_cast<Extended>(n) * static_cast<Extended>(factor));
    return result == 0 ? 0.0 : result;  // never a negative zero
}

Extended PowerInteger(Extended base, int exponent) {
    Extended result = 1;
    if (exponent == 0) return result;
    // |INT_MIN| as an unsigned value keeps the loop well defined.
    unsigned int m = exponent < 0 ? 0u - static_cast<unsigned int>(exponent) : static_cast<unsigned int>(exponent);
    Extended b = base;
    for (;;) {
        if (m & 1u) result = result * b;
        m >>= 1;
        if (m == 0) break;
        b = b * b;
    }
    if (exponent < 0) return Divide(1, Checked(result));
    return Checked(result);
}

Extended PowerReal(Extended base, Extended exponent) {
    if (exponent == 0) return 1;
    if (base == 0 && exponent > 0) return 0;
    if (truncl(exponent) == exponent && fabsl(exponent) <= 2147483647.0L) {
        return PowerInteger(base, static_cast<int>(exponent));
    }
    if (base < 0) throw EInvalidOp();
    if (base == 0) throw EZeroDivide();  // zero to a negative power
    const Extended ln = 0.693147180559945309417232121458176568L * log2l(base);
    return Checked(expl(Checked(exponent * ln)));
}

Extended Sine(Extended radians) {
    if (std::isnan(radians)) throw EInvalidOp();
    if (fabsl(radians) >= kTwoTo63) return 0;
    return sinl(radians);
}

Extended Cosine(Extended radians) {
    if (std::isnan(radians)) throw EInvalidOp();
    if (fabsl(radians) >= kTwoTo63) return 0;
    return cosl(radians);
}

Extended Tangent(Extended radians) {
    if (std::isnan(radians) || std::isinf(radians)) throw EInvalidOp();
    return Checked(tanl(radians));
}

Extended ArcTangent(Extended x) {
    if (std::isnan(x)) throw EInvalidOp();
    return atan2l(x, 1.0L);
}

Extended ArcSine(Extended x) {
    if (std::isnan(x)) throw EInvalidOp();
    return atan2l(x, SquareRoot(1 - x * x));
}

Extended ParseReal(const std::string& text, char separator) {
    std::size_t pos = 0;
    const std::size_t size = text.size();
    auto skipBlanks = [&] {
        while (pos < size && text[pos] == ' ') ++pos;
    };
    auto reject = [&]() -> EConvertError {
        return EConvertError("'" + text + "' is not a valid floating point value");
    };

    skipBlanks();
    bool negative = false;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

    Extended digits = 0;
    int fractionDigits = 0;
    bool anyMantissa = false;
    while (pos < size && IsDigit(text[pos])) {
        digits = digits * 10 + (text[pos++] - '0');
        anyMantissa = true;
    }
    if (pos < size && text[pos] == separator) {
        ++pos;
        anyMantissa = true;  // a lone separator reads as zero
        while (pos < size && IsDigit(text[pos])) {
            digits = digits * 10 + (text[pos++] - '0');
            ++fractionDigits;
        }
    }
    if (!anyMantissa) throw reject();

    int exponent = 0;
    if (pos < size && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < size && (text[pos] == '+' || text[pos] == '-')) negativeExponent = text[pos++] == '-';
        // Digits count until the exponent reaches 500; further digits are read
        // but no longer change it.
        while (pos < size && IsDigit(text[pos])) {
            if (exponent < 500) exponent = exponent * 10 + (text[pos] - '0');
            ++pos;
        }
        if (negativeExponent) exponent = -exponent;
    }
    skipBlanks();
    if (pos != size) throw reject();

    if (std::isinf(digits)) throw reject();
    const int scale = exponent - fractionDigits;
    Extended value = digits;
    // One multiplication or division by 10^|scale|; scales beyond 10^1000
    // (which only very long texts reach) are applied in steps so that the
    // power itself stays finite.
    int remaining = scale < 0 ? -scale : scale;
    while (value != 0 && remaining > 0) {
        const int step = remaining < 1000 ? remaining : 1000;
        const Extended power = PowerInteger(10, step);
        value = scale > 0 ? value * power : value / power;
        if (std::isinf(value)) throw reject();
        remaining -= step;
    }
    return negative ? -value : value;
}

std::int32_t ParseInteger(const std::string& text) {
    auto reject = [&]() -> EConvertError { return EConvertError("'" + text + "' is not a valid integer value"); };
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

    bool hex = false;
    if (pos < size && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
        hex = true;
        ++pos;
    } else if (pos + 1 < size && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        hex = true;
        pos += 2;
    }

    const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    std::uint64_t value = 0;
    std::size_t digitCount = 0;
    for (; pos < size; ++pos, ++digitCount) {
        const char c = text[pos];
        const int digit = hex ? HexDigitValue(c) : IsDigit(c) ? c - '0' : -1;
        if (digit < 0) throw reject();
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit) throw reject();
    }
    if (digitCount == 0) throw reject();
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value)) : static_cast<std::int32_t>(value);
}

std::string FormatReal(Extended value, char separator) {
    if (std::isnan(value)) throw EInvalidOp();
    if (std::isinf(value)) throw EOverflow();
    const Extended magnitude = fabsl(value);
    if (magnitude < LDBL_MIN) return "0";  // zero and values below the normal range

    // 18 significant digits d1..d18, exactly rounded (ties to even), with
    // magnitude = 0.d1d2... * 10^exponent.
    char digits[19];
    int exponent;
    if (!EighteenDigits(magnitude, digits, exponent)) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude);
        int count = 0;
        const char* p = buffer;
        for (; *p && *p != 'e'; ++p) {
            if (IsDigit(*p)) digits[count++] = *p;
        }
        exponent = std::atoi(p + 1) + 1;
    }

    // Cut to 15 digits: round up when the 16th is 5 or more, else truncate.
    int count = 15;
    if (digits[15] >= '5') {
        int i = 14;
        for (; i >= 0; --i) {
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                ++digits[i];
                break;
            }
        }
        if (i < 0) {  // the carry ran through every digit
            digits[0] = '1';
            count = 1;
            ++exponent;
        }
    }
    while (count > 1 && digits[count - 1] == '0') --count;

    // At most sign, 15 digits, 3 leading zeros and separator, or an exponent.
    char text[32];
    char* out = text;
    if (value < 0) *out++ = '-';
    if (exponent >= -3 && exponent <= 15) {
        if (exponent > 0) {
            for (int i = 0; i < exponent; ++i) *out++ = i < count ? digits[i] : '0';
            if (count > exponent) {
                *out++ = separator;
                for (int i = exponent; i < count; ++i) *out++ = digits[i];
            }
        } else {
            *out++ = '0';
            *out++ = separator;
            for (int i = 0; i < -exponent; ++i) *out++ = '0';
            for (int i = 0; i < count; ++i) *out++ = digits[i];
        }
    } else {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = separator;
            for (int i = 1; i < count; ++i) *out++ = digits[i];
        }
        *out++ = 'E';
        int shown = exponent - 1;
        if (shown < 0) {
            *out++ = '-';
            shown = -shown;
        }
        char reversed[8];
        int n = 0;
        do {
            reversed[n++] = static_cast<char>('0' + shown % 10);
            shown /= 10;
        } while (shown > 0);
        while (n > 0) *out++ = reversed[--n];
    }
    return std::string(text, out);
}

std::string FormatInteger(std::int32_t value) { return std::to_string(value); }

}  // namespace wormgear
