// Golden values of the numeric rules: rounding, number text, reading numbers
// and arithmetic faults. Unless marked otherwise each case is one of the
// documented edge cases of the rules.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "calc/numeric.h"
#include "calc/tests/plain_numeric.h"

using namespace wormgear;

namespace {

class NumericTest : public ::testing::Test {
 protected:
    void SetUp() override { ASSERT_EQ(std::numeric_limits<long double>::digits, 64) << "needs the 80-bit x87 type"; }
};

Real Stored(const char* text) { return ToReal(ParseReal(text, '.')); }

struct RoundCase {
    const char* text;
    int digit;
    const char* expected;
};

// clang-format off
const RoundCase kRounding[] = {
    {"0.0005", -3, "0"},        // quotient exactly 0.5 goes to even
    {"0.0015", -3, "0.002"},    // exact ties, to even
    {"0.0025", -3, "0.002"},
    {"0.0035", -3, "0.004"},
    {"1.0005", -3, "1"},        // the stored double lies just below the tie
    {"45.0005", -3, "45.001"},  // ... just above
    {"12.3456", -3, "12.346"},
    {"-1.2345", -3, "-1.234"},
    {"-0.0005", -3, "0"},       // never "-0"
    {"2.675", -2, "2.67"},
    {"0.125", -2, "0.12"},
    {"0.135", -2, "0.14"},
    {"2.5", 0, "2"},
    {"3.5", 0, "4"},
    {"-2.5", 0, "-2"},
    {"127.5", 0, "128"},        // the working length edge: 127.5 -> 128, 128.5 -> 128
    {"128.5", 0, "128"},
};
// clang-format on

TEST_F(NumericTest, DecimalRoundTiesGoToEvenOnTheComputedQuotient) {
    for (const auto& c : kRounding) {
        const Real rounded = DecimalRound(Stored(c.text), c.digit);
        EXPECT_EQ(FormatReal(rounded, '.'), c.expected) << c.text << " to " << c.digit;
        EXPECT_FALSE(std::signbit(rounded) && rounded == 0) << c.text << " gave a negative zero";
    }
}

TEST_F(NumericTest, RoundNearestAndTruncate) {
    const struct {
        long double value;
        std::int64_t nearest, truncated;
    } cases[] = {
        {0.5L, 0, 0}, {1.5L, 2, 1}, {2.5L, 2, 2}, {-2.5L, -2, -2}, {3.5L, 4, 3}, {2.9L, 3, 2}, {-2.9L, -3, -2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundNearest(c.value), c.nearest) << static_cast<double>(c.value);
        EXPECT_EQ(TruncateToInteger(c.value), c.truncated) << static_cast<double>(c.value);
    }
    EXPECT_THROW(RoundNearest(9.3e18L), EInvalidOp);
    EXPECT_THROW(TruncateToInteger(-9.3e18L), EInvalidOp);
    EXPECT_EQ(TruncateToInteger(-9223372036854775808.0L), std::numeric_limits<std::int64_t>::min());
}

struct FormatCase {
    long double value;
    const char* expected;
};

TEST_F(NumericTest, FormatRealGeneralFifteenDigits) {
    const FormatCase cases[] = {
        {static_cast<long double>(0.1) + static_cast<long double>(0.2), "0.3"},
        {1234.5L, "1234.5"},
        {100, "100"},
        {-2.5L, "-2.5"},
        {1.0L / 3, "0.333333333333333"},
        {2.0L / 3, "0.666666666666667"},
        {Pi, "3.14159265358979"},
        {123456789012345.0L, "123456789012345"},
        {1e15L, "1E15"},
        {999999999999999.5L, "1E15"},
        {1e20L, "1E20"},
        {0.0001L, "0.0001"},
        {0.000123L, "0.000123"},
        {0.00001L, "1E-5"},
        {0.00000015L, "1.5E-7"},
        {0.0L, "0"},
        {-0.0L, "0"},
        {LDBL_MIN / 4, "0"},  // below the normal range
        {12.346, "12.346"},   // a double rounded to thousandths prints short
        {-1e-10L, "-1E-10"},
        {123.456e10L, "1234560000000"},
        {1.5e300L, "1.5E300"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatReal(c.value, '.'), c.expected) << static_cast<double>(c.value);
}

TEST_F(NumericTest, RoundedThousandthsPrintWithAtMostThreeFractionDigits) {
    // Any value below 10^12 rounded to thousandths prints as its decimal.
    for (double v : {0.001, 0.1, 1.005, 7.7, 99.999, 168.728, 103.76, 331.016, 999999999.999}) {
        const std::string text = FormatReal(DecimalRound(v, -3), '.');
        const auto dot = text.find('.');
        if (dot != std::string::npos) {
            EXPECT_LE(text.size() - dot - 1, 3u) << text;
        }
    }
}

TEST_F(NumericTest, FormatIntegerPlainDecimal) {
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(-12), "-12");
    EXPECT_EQ(FormatInteger(2147483647), "2147483647");
}

struct ParseCase {
    const char* text;
    long double expected;
};

TEST_F(NumericTest, ParseRealAccepts) {
    const ParseCase cases[] = {
        {"  12.5  ", 12.5L},
        {"5.", 5},
        {".5", 0.5L},
        {".", 0},
        {"1e3", 1000},
        {"1E+3", 1000},
        {"1e", 1},
        {"-7", -7},
        {"+7", 7},
        {"0.1", 1.0L / 10},
        {"1e-3", 1.0L / 1000},
        {"000123", 123},
        {"1e9999", std::numeric_limits<long double>::quiet_NaN()},
    };
    for (const auto& c : cases) {
        if (std::isnan(c.expected)) continue;  // listed under rejects below
        EXPECT_EQ(ParseReal(c.text, '.'), c.expected) << c.text;
    }
}

TEST_F(NumericTest, ParseRealRejects) {
    for (const char* text :
         {"", "   ", "-", "e3", "12a", "1.2.3", "1,5", "\t1", "1\t", "1 000", "inf", "nan", "+-1", "0x10"}) {
        EXPECT_THROW(ParseReal(text, '.'), EConvertError) << '"' << text << '"';
    }
}

TEST_F(NumericTest, ParseRealFollowsTheDecimalSeparator) {
    EXPECT_EQ(ParseReal("1,5", ','), 1.5L);
    EXPECT_THROW(ParseReal("1.5", ','), EConvertError);
    EXPECT_THROW(ParseReal("1,5", '.'), EConvertError);
    EXPECT_EQ(FormatReal(1.5L, ','), "1,5");
    EXPECT_EQ(FormatReal(1.5e-7L, ','), "1,5E-7");
    EXPECT_EQ(FormatReal(0.001L, ','), "0,001");
}

TEST_F(NumericTest, ParseRealExtremes) {
    EXPECT_EQ(ParseReal("0e99999", '.'), 0);
    // The exponent stops growing at 500: 1e5000 reads as 1e500, which fits an
    // Extended but not a Real.
    EXPECT_EQ(ParseReal("1e5000", '.'), ParseReal("1e500", '.'));
    EXPECT_THROW(Stored("1e5000"), EOverflow);
    EXPECT_EQ(Stored("1e-99999"), 0.0);        // underflows to zero, no error
    EXPECT_THROW(Stored("1e400"), EOverflow);  // fits an Extended, not a Real
    EXPECT_EQ(Stored("1e-400"), 0.0);
    // More than 19 digits keep accumulating in Extended.
    EXPECT_EQ(Stored("123456789012345678901234567890"), 1.2345678901234568e29);
}

TEST_F(NumericTest, ParseInteger) {
    const struct {
        const char* text;
        std::int32_t expected;
    } accepts[] = {{" 7", 7},
                   {"+7", 7},
                   {"$1F", 31},
                   {"0x1F", 31},
                   {"X1f", 31},
                   {"-2147483648", INT32_MIN},
                   {"2147483647", INT32_MAX},
                   {"-$10", -16},
                   {"007", 7}};
    for (const auto& c : accepts) EXPECT_EQ(ParseInteger(c.text), c.expected) << c.text;
    for (const char* text : {"7 ", "7.0", "", " ", "2147483648", "-2147483649", "$", "0x", "1e3", "12a", "--1"}) {
        EXPECT_THROW(ParseInteger(text), EConvertError) << '"' << text << '"';
    }
}

TEST_F(NumericTest, ArithmeticFaultsRaiseWhereTheyHappen) {
    EXPECT_THROW(SquareRoot(-1), EInvalidOp);
    EXPECT_THROW(ArcSine(1.0000001L), EInvalidOp);
    EXPECT_THROW(Divide(0, 0), EInvalidOp);
    EXPECT_THROW(Divide(1, 0), EZeroDivide);
    EXPECT_THROW(ToReal(1e200L * 1e200L), EOverflow);
    EXPECT_THROW(ToReal(std::numeric_limits<long double>::quiet_NaN()), EInvalidOp);
    EXPECT_THROW(FormatReal(std::numeric_limits<long double>::infinity(), '.'), EOverflow);
    EXPECT_EQ(Sine(1e19L), 0);
    EXPECT_EQ(Cosine(-1e19L), 0);
    EXPECT_EQ(ArcSine(1), Pi / 2);
    EXPECT_EQ(ArcSine(-1), -Pi / 2);
}

TEST_F(NumericTest, Powers) {
    EXPECT_EQ(PowerInteger(10, -3), 1.0L / 1000);  // 1/1000, not a product of tenths
    EXPECT_EQ(PowerInteger(2, 10), 1024);
    EXPECT_EQ(PowerInteger(-2, 3), -8);
    EXPECT_EQ(PowerReal(0, 0), 1);
    EXPECT_EQ(PowerReal(0, 0.875L), 0);
    EXPECT_EQ(PowerReal(-2, 3), -8);  // integral exponent allows a negative base
    EXPECT_THROW(PowerReal(-2, 0.5L), EInvalidOp);
    EXPECT_THROW(PowerReal(0, -0.5L), EZeroDivide);
    EXPECT_THROW(PowerReal(1e300L, 20.5L), EOverflow);
    EXPECT_NEAR(static_cast<double>(PowerReal(450, 0.875L)), 209.6826, 1e-3);
}

TEST_F(NumericTest, FormatRealMatchesTheExactReference) {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int n = 0; n < 200000; ++n) {
        // Random significands over the decades the fast path covers and beyond.
        const long double mantissa = static_cast<long double>(next()) / 18446744073709551616.0L;
        const int decade = static_cast<int>(next() % 50) - 25;
        long double value = mantissa * powl(10.0L, decade);
        if (n % 3 == 0) value = static_cast<double>(value);   // doubles as stored
        if (n % 5 == 0) value = roundl(value * 1000) / 1000;  // thousandths
        if (n % 7 == 0) value = -value;
        ASSERT_EQ(FormatReal(value, '.'), plain::FormatReal(value)) << static_cast<double>(value);
    }
    for (long double v : {1e-4L, 9.9999999999999999999e-5L, 1e18L, 999999999999999999.5L, 99999999999999999.95L,
                          0.99999999999999999995L, 1.0L, 10.0L, 0.1L}) {
        EXPECT_EQ(FormatReal(v, '.'), plain::FormatReal(v)) << static_cast<double>(v);
    }
}

}  // namespace

// x87 encodings no arithmetic produces: a number text must never be made of
// them (the fuzzer found one that overran the text buffer).
TEST_F(NumericTest, FormatRealRefusesEncodingsNoArithmeticProduces) {
    struct Encoding {
        const char* what;
        std::uint64_t significand;
        std::uint16_t signAndExponent;
    };
    const Encoding encodings[] = {
        {"unnormal", 0x3030303030303030ull, 0x3030},
        {"unnormal with zero significand", 0, 0x3FFF},
        {"pseudo-infinity", 0, 0x7FFF},
        {"pseudo-NaN", 0x1234ull, 0x7FFF},
    };
    for (const Encoding& e : encodings) {
        long double value = 0;
        std::memcpy(&value, &e.significand, sizeof e.significand);
        std::memcpy(reinterpret_cast<char*>(&value) + 8, &e.signAndExponent, sizeof e.signAndExponent);
        EXPECT_THROW(FormatReal(value, '.'), EInvalidOp) << e.what;
    }
}
