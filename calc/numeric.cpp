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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The largest digit accumulation v for which v * 10 + 9 still fits 64 bits.
constexpr std::uint64_t kLargestBeforeTenfold = (~std::uint64_t{0} - 9) / 10;

// 10^0 .. 10^27 are exact in Extended (5^27 < 2^64), so a table gives the
// very numbers PowerInteger's products give.
constexpr auto kExactPowersOfTen = [] {
    std::array<Extended, 28> powers{};
    powers[0] = 1;
    for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10;
    return powers;
}();

Extended PowerOfTen(int exponent) {
    return exponent < static_cast<int>(kExactPowersOfTen.size()) ? kExactPowersOfTen[exponent]
                                                                 : PowerInteger(10, exponent);
}

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

constexpr std::uint64_t kTenTo17 = 100000000000000000ull;
constexpr std::uint64_t kTenTo18 = 10 * kTenTo17;

// The 18 exactly rounded significant digits of a normal magnitude as an
// integer n in [10^17, 10^18), with magnitude ~ n * 10^(exponent - 18), for
// magnitudes from about 10^-5 to 10^18 (the range almost every shown value
// falls in); false outside it.
bool EighteenDigits(const detail::ExtendedParts& parts, std::uint64_t& n, int& exponent) {
    const int binaryExponent = parts.biasedExponent - 16382;  // magnitude in [2^(b-1), 2^b)
    const int e = binaryExponent - 64;
    // floor(log10(magnitude)) from the binary exponent; may be off by one,
    // which the loop below corrects.
    int decade = (binaryExponent - 1) * 30103 / 100000 - ((binaryExponent - 1) < 0 ? 1 : 0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int s = 17 - decade;
        if (s < 0 || s > 22 || !ScaledInteger(parts.significand, e, s, n)) return false;
        if (n > kTenTo18) {
            ++decade;
        } else if (n < kTenTo17) {
            --decade;
        } else {
            break;
        }
    }
    if (n == kTenTo18) {  // rounding carried into a 19th digit: 10^18 itself
        n = kTenTo17;
        ++decade;
    }
    if (n < kTenTo17 || n >= kTenTo18) return false;
    exponent = decade + 1;
    return true;
}

// The same from the C library's exactly rounded digits, for any magnitude.
void EighteenDigitsOfTheCLibrary(Extended magnitude, std::uint64_t& n, int& exponent) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude);
    n = 0;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (IsDigit(*p)) n = n * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    exponent = std::atoi(p + 1) + 1;
}

// Writes the `count` decimal digits of v (leading zeros included), two at a
// time from the last.
void WriteDigits(std::uint64_t v, int count, char* digits) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    int k = count;
    while (k >= 2) {
        const std::uint64_t pair = v % 100;
        v /= 100;
        digits[--k] = kPairs[2 * pair + 1];
        digits[--k] = kPairs[2 * pair];
    }
    if (k == 1) digits[0] = static_cast<char>('0' + v);
}

// n / 10^places as FormatReal writes it, for places 0 to 3 and |n| < 10^15:
// "-12.5" for -12500 at 3 places, "0.05" for 5 at 2, "0" for 0.
std::size_t WriteScaled(std::int64_t n, int places, char separator, char* const text) {
    static constexpr std::uint64_t kDivisors[] = {1, 10, 100, 1000};
    char* out = text;
    if (n < 0) *out++ = '-';
    const std::uint64_t magnitude = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    const std::uint64_t whole = magnitude / kDivisors[places];
    std::uint64_t fraction = magnitude % kDivisors[places];
    int wholeDigits = 1;
    for (std::uint64_t rest = whole; rest >= 10; rest /= 10) ++wholeDigits;
    WriteDigits(whole, wholeDigits, out);
    out += wholeDigits;
    if (fraction != 0) {
        *out++ = separator;
        int fractionDigits = places;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --fractionDigits;
        }
        WriteDigits(fraction, fractionDigits, out);
        out += fractionDigits;
    }
    return static_cast<std::size_t>(out - text);
}

// A value within a quarter unit of the 15th significant digit of n / 10^places,
// n of at most 15 digits, has n / 10^places as its text: rounding the value to
// 18 digits and cutting to 15 lands back on it (also across a power of ten,
// where the nines of a value just below it round up). A unit of the 15th digit
// is at least 10^-15 of the number, so 2.3e-16 of it relative is near enough,
// and a Real that DecimalRound stores as n * f is that near: f lies within
// 2^-53 of its decimal and the product is rounded to 64 and then 53 bits.
// WriteScaled then gives the text.
constexpr std::int64_t kLargestScaled = 999999999999999;

}  // namespace

char UserDecimalSeparator() { return SeparatorFromLocale(); }

namespace fault {
void InvalidOp() { throw EInvalidOp(); }
void Overflow() { throw EOverflow(); }
void DivisionByZero(Extended dividend) {
    if (dividend == 0 || std::isnan(dividend)) throw EInvalidOp();
    throw EZeroDivide();
}
void NotFinite(Extended value) {
    if (std::isnan(value)) throw EInvalidOp();
    throw EOverflow();
}
}  // namespace fault

std::int64_t detail::RoundNearestAtTheEdge(Extended value) {
    // Only -2^63 and the half-way point above it, which goes to the even
    // -2^63, round to -2^63 (below 2^63 in magnitude the Extended spacing is
    // 0.5, from 2^63 on it is 1).
    constexpr Extended kTwoTo63 = 9223372036854775808.0L;
    if (value == -kTwoTo63 || value == -kTwoTo63 + 0.5L) return std::numeric_limits<std::int64_t>::min();
    throw EInvalidOp();
}

Real detail::DecimalRoundInGeneral(Real value, int digit, std::int64_t& scaled) {
    const Real factor = ToReal(PowerInteger(10, digit));
    scaled = RoundNearest(Divide(static_cast<Extended>(value), static_cast<Extended>(factor)));
    const Real result = ToReal(static_cast<Extended>(scaled) * static_cast<Extended>(factor));
    return result == 0 ? 0.0 : result;  // never a negative zero
}

Extended SquareRoot(Extended value) {
    if (std::isnan(value) || value < 0) throw EInvalidOp();
    return sqrtl(value);
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

Extended ParseReal(std::string_view text, char separator) {
    std::size_t pos = 0;
    const std::size_t size = text.size();
    auto skipBlanks = [&] {
        while (pos < size && text[pos] == ' ') ++pos;
    };
    auto reject = [&]() -> EConvertError {
        return EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    };

    skipBlanks();
    bool negative = false;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

    // The digits accumulate as value * 10 + digit in Extended. Both steps are
    // exact while the value stays below 2^64, so a 64-bit integer takes them
    // until then and the Extended goes on from its exact value.
    std::uint64_t whole = 0;
    Extended digits = 0;
    bool inExtended = false;
    auto addDigit = [&](int digit) {
        if (!inExtended) {
            if (whole <= kLargestBeforeTenfold) {
                whole = whole * 10 + static_cast<std::uint64_t>(digit);
                return;
            }
            digits = static_cast<Extended>(whole);
            inExtended = true;
        }
        digits = digits * 10 + digit;
    };
    int fractionDigits = 0;
    bool anyMantissa = false;
    while (pos < size && IsDigit(text[pos])) {
        addDigit(text[pos++] - '0');
        anyMantissa = true;
    }
    if (pos < size && text[pos] == separator) {
        ++pos;
        anyMantissa = true;  // a lone separator reads as zero
        while (pos < size && IsDigit(text[pos])) {
            addDigit(text[pos++] - '0');
            ++fractionDigits;
        }
    }
    if (!anyMantissa) throw reject();
    if (!inExtended) digits = static_cast<Extended>(whole);

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
        const Extended power = PowerOfTen(step);
        value = scale > 0 ? value * power : value / power;
        if (std::isinf(value)) throw reject();
        remaining -= step;
    }
    return negative ? -value : value;
}

std::int32_t ParseInteger(std::string_view text) {
    auto reject = [&]() -> EConvertError {
        return EConvertError("'" + std::string(text) + "' is not a valid integer value");
    };
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

std::size_t FormatReal(Extended value, char separator, char* const text) {
    // Most shown values lie next to a multiple n/1000 of few digits: what
    // DecimalRound stores, whole numbers, typed inputs, sums of such. Within
    // 2e-16 of n/1000 relative, a value's text is n/1000 written out (see
    // kLargestScaled). value * 1000 is off by at most 2^-64 of itself, so the
    // test below leaves that much room.
    if (fabsl(value) < 1e12L) {  // |n| < 10^15: n/1000 has at most 15 digits
        const Extended thousandfold = value * 1000;
        const std::int64_t n = RoundNearest(thousandfold);
        const Extended whole = static_cast<Extended>(n);
        if (fabsl(thousandfold - whole) <= 1.9e-16L * fabsl(whole)) return WriteScaled(n, 3, separator, text);
    }

    const detail::ExtendedParts parts = detail::Parts(value);
    if (parts.biasedExponent == 0x7FFF) {
        if (parts.significand == std::uint64_t{1} << 63) throw EOverflow();  // an infinity
        throw EInvalidOp();
    }
    // An "unnormal": an exponent without the explicit integer bit. No
    // arithmetic produces one; the x87 treats it as an invalid operand.
    if (parts.biasedExponent != 0 && (parts.significand >> 63) == 0) throw EInvalidOp();
    if (parts.biasedExponent == 0) {  // zero and values below the normal range
        text[0] = '0';
        return 1;
    }

    // 18 significant digits, exactly rounded (ties to even), as an integer n,
    // with magnitude = 0.d1d2...d18 * 10^exponent.
    std::uint64_t n;
    int exponent;
    if (!EighteenDigits(parts, n, exponent)) EighteenDigitsOfTheCLibrary(fabsl(value), n, exponent);

    // Cut to 15 digits: round up when the 16th is 5 or more, else truncate.
    constexpr std::uint64_t kTenTo15 = 1000000000000000ull;
    std::uint64_t kept = n / 1000 + (n % 1000 >= 500 ? 1 : 0);
    if (kept == kTenTo15) {  // the carry ran through every digit
        kept = kTenTo15 / 10;
        ++exponent;
    }
    // Trailing zeros dropped (at most 14, as the first digit is not 0) in
    // steps of eight, four, two and one.
    int count = 15;
    if (kept % 100000000 == 0) {
        kept /= 100000000;
        count -= 8;
    }
    if (kept % 10000 == 0) {
        kept /= 10000;
        count -= 4;
    }
    if (kept % 100 == 0) {
        kept /= 100;
        count -= 2;
    }
    if (kept % 10 == 0) {
        kept /= 10;
        count -= 1;
    }
    char digits[15];
    WriteDigits(kept, count, digits);

    // At most sign, 15 digits, 3 leading zeros and separator, or an exponent:
    // 23 characters.
    char* out = text;
    if (parts.negative) *out++ = '-';
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
    return static_cast<std::size_t>(out - text);
}

std::size_t FormatRounded(Real rounded, std::int64_t scaled, int digit, char separator, char* const text) {
    if ((digit == -3 || digit == -2 || digit == 0) && scaled >= -kLargestScaled && scaled <= kLargestScaled) {
        return WriteScaled(scaled, -digit, separator, text);
    }
    return FormatReal(rounded, separator, text);
}

std::string FormatReal(Extended value, char separator) {
    char text[kNumberTextCapacity];
    return std::string(text, FormatReal(value, separator, text));
}

std::size_t FormatInteger(std::int32_t value, char* const text) {
    // The magnitude as an unsigned number, so that -2^31 needs no special case.
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char reversed[10];
    int n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    char* out = text;
    if (value < 0) *out++ = '-';
    while (n > 0) *out++ = reversed[--n];
    return static_cast<std::size_t>(out - text);
}

std::string FormatInteger(std::int32_t value) {
    char text[kNumberTextCapacity];
    return std::string(text, FormatInteger(value, text));
}

}  // namespace wormgear
