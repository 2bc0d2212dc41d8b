// The fast numeric routines against their plainest form (plain_numeric.h) on
// random and edge values: the same numbers, the same texts and the same
// errors, bit for bit. Rounding without the C library's environment save,
// DecimalRound with constant factors, number texts written from the rounded
// integer and ParseReal's integer accumulation must never differ from it.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <typeinfo>

#include "calc/numeric.h"
#include "calc/tests/plain_numeric.h"

using namespace wormgear;

namespace {

class Random {
 public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    // Any Extended with a binary exponent in [low, high), either sign.
    Extended extended(int low, int high) {
        const std::uint64_t significand = next() | (std::uint64_t{1} << 63);
        const std::uint16_t signAndExponent = static_cast<std::uint16_t>((16383 + low + below(high - low)) |
                                                                         (below(2) ? 0x8000 : 0));
        Extended value = 0;
        std::memcpy(&value, &significand, sizeof significand);
        std::memcpy(reinterpret_cast<char*>(&value) + 8, &signAndExponent, sizeof signAndExponent);
        return value;
    }

 private:
    std::uint64_t state_;
};

// A result or the name of the error it raised.
template <class T>
struct Outcome {
    std::optional<T> value;
    std::string error;
    bool operator==(const Outcome&) const = default;
};
template <class F>
auto Attempt(F f) -> Outcome<decltype(f())> {
    try {
        return {f(), ""};
    } catch (const NumericError& e) {
        return {std::nullopt, typeid(e).name()};
    }
}
template <class T>
std::ostream& operator<<(std::ostream& out, const Outcome<T>& o) {
    if (o.value) return out << *o.value;
    return out << "error " << o.error;
}

std::string Describe(Extended x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", x);
    return text;
}

const Extended kTwoTo63 = 9223372036854775808.0L;

class NumericEquivalenceTest : public ::testing::Test {
 protected:
    void SetUp() override { ASSERT_EQ(std::numeric_limits<long double>::digits, 64); }
};

TEST_F(NumericEquivalenceTest, RoundingToIntegersMatchesTheCLibrary) {
    std::vector<Extended> values = {0.0L,
                                    -0.0L,
                                    0.5L,
                                    -0.5L,
                                    1.5L,
                                    2.5L,
                                    -2.5L,
                                    0.49999999999999999997L,
                                    kTwoTo63,
                                    -kTwoTo63,
                                    kTwoTo63 - 0.5L,
                                    -kTwoTo63 + 0.5L,
                                    kTwoTo63 - 1,
                                    -kTwoTo63 - 1,
                                    kTwoTo63 - 1.5L,
                                    1e19L,
                                    -1e19L,
                                    std::numeric_limits<Extended>::infinity(),
                                    -std::numeric_limits<Extended>::infinity(),
                                    std::numeric_limits<Extended>::quiet_NaN(),
                                    std::numeric_limits<Extended>::denorm_min(),
                                    std::numeric_limits<Extended>::min()};
    Random random(1);
    for (int n = 0; n < 300000; ++n) {
        Extended x = random.extended(-70, 66);
        if (n % 4 == 0) x = nearbyintl(x) + (random.below(2) ? 0.5L : -0.5L);  // exact halves where they exist
        values.push_back(x);
    }
    for (Extended x : values) {
        ASSERT_EQ(Attempt([&] { return RoundNearest(x); }), Attempt([&] { return plain::RoundNearest(x); }))
            << Describe(x);
        ASSERT_EQ(Attempt([&] { return TruncateToInteger(x); }), Attempt([&] { return plain::TruncateToInteger(x); }))
            << Describe(x);
    }
}

TEST_F(NumericEquivalenceTest, DecimalRoundAndItsTextMatchThePlainRule) {
    EXPECT_EQ(kThousandth, plain::ToReal(PowerInteger(10, -3)));
    EXPECT_EQ(kHundredth, plain::ToReal(PowerInteger(10, -2)));
    Random random(2);
    const int digits[] = {-3, -3, -3, -2, 0, -1, 2, -5};
    for (int n = 0; n < 300000; ++n) {
        Real value = static_cast<Real>(random.extended(-30, 60));
        const int digit = digits[random.below(8)];
        if (n % 3 == 0) {  // a decimal tie as a double: (k + 0.5) * 10^digit
            value = static_cast<Real>((static_cast<Extended>(random.next() % 100000000000000ull) + 0.5L) *
                                      plain::ToReal(PowerInteger(10, digit)));
        }
        if (n % 5 == 0 && std::fabs(value) < 9e15) value = plain::DecimalRound(value, -3);  // rounded once already
        const auto fast = Attempt([&] { return DecimalRound(value, digit); });
        const auto reference = Attempt([&] { return plain::DecimalRound(value, digit); });
        ASSERT_EQ(fast, reference) << Describe(value) << " to " << digit;
        if (!fast.value) continue;
        std::int64_t scaled = 0;
        const Real rounded = DecimalRound(value, digit, scaled);
        char text[kNumberTextCapacity];
        ASSERT_EQ(std::string(text, FormatRounded(rounded, scaled, digit, '.', text)), plain::FormatReal(rounded))
            << Describe(value) << " to " << digit;
        ASSERT_EQ(FormatReal(rounded, '.'), plain::FormatReal(rounded)) << Describe(rounded);
    }
    for (Real special : {std::numeric_limits<Real>::infinity(), std::numeric_limits<Real>::quiet_NaN(), 1e300, -0.0,
                         9.3e15, -9.3e15}) {
        EXPECT_EQ(Attempt([&] { return DecimalRound(special, -3); }),
                  Attempt([&] { return plain::DecimalRound(special, -3); }))
            << special;
    }
}

TEST_F(NumericEquivalenceTest, NumberTextsMatchTheCLibrarysDigits) {
    Random random(3);
    for (int n = 0; n < 300000; ++n) {
        Extended x = random.extended(-60, 70);
        if (n % 2 == 0) x = static_cast<Real>(x);
        const Extended thousandths = static_cast<Extended>(
                                         static_cast<std::int64_t>(random.next() % 1000000000000000ull)) *
                                     kThousandth;
        if (n % 7 == 0) x = static_cast<Real>(thousandths);
        // Sums of shown values in Extended (a hob's root arc radius), and
        // values off a thousandth by a few 10^-16, across the margin of the
        // short way to their texts.
        if (n % 7 == 1)
            x = static_cast<Extended>(static_cast<Real>(thousandths)) + static_cast<Real>(random.extended(-12, 8));
        if (n % 7 == 2) x = thousandths * (1 + (static_cast<Extended>(random.below(601)) - 300) * 1e-18L);
        ASSERT_EQ(FormatReal(x, ','), plain::FormatReal(x, ',')) << Describe(x);
    }
    for (Extended x : {std::numeric_limits<Extended>::max(), std::numeric_limits<Extended>::min(),
                       std::numeric_limits<Extended>::denorm_min(), 999999999999.9995L, 999999999999.999L, 1e12L,
                       0.0005L, 0.001L, 1e-5L, 9.99999999999999999e-6L}) {
        EXPECT_EQ(FormatReal(x, '.'), plain::FormatReal(x)) << Describe(x);
        EXPECT_EQ(FormatReal(-x, '.'), plain::FormatReal(-x)) << Describe(x);
    }
}

TEST_F(NumericEquivalenceTest, ReadingNumbersMatchesDigitByDigitAccumulation) {
    Random random(4);
    const std::string alphabet = "0123456789.,eE+- ";
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        if (n % 2 == 0) {  // a well-formed number, often long
            if (random.below(3) == 0) text += random.below(2) ? "-" : "+";
            const int whole = random.below(25), fraction = random.below(25);
            for (int k = 0; k < whole; ++k) text += static_cast<char>('0' + random.below(10));
            if (fraction || random.below(2)) text += '.';
            for (int k = 0; k < fraction; ++k) text += static_cast<char>('0' + random.below(10));
            if (random.below(3) == 0) text += "e" + std::to_string(random.below(700) - 350);
        } else {
            const int length = random.below(12);
            for (int k = 0; k < length; ++k) text += alphabet[static_cast<std::size_t>(random.below(17))];
        }
        ASSERT_EQ(Attempt([&] { return ParseReal(text, '.'); }), Attempt([&] { return plain::ParseReal(text, '.'); }))
            << '"' << text << '"';
    }
    // Nineteen to twenty-one nines cross 2^64 while accumulating.
    for (const char* text : {"18446744073709551615", "18446744073709551616", "99999999999999999999",
                             "999999999999999999999.5", "1844674407370955161.9", "184467440737095516159"}) {
        EXPECT_EQ(ParseReal(text, '.'), plain::ParseReal(text, '.')) << text;
    }
}

TEST_F(NumericEquivalenceTest, FaultsAreTheSameErrors) {
    const Extended inf = std::numeric_limits<Extended>::infinity(), nan = std::numeric_limits<Extended>::quiet_NaN();
    const Extended big = std::numeric_limits<Extended>::max();
    for (Extended a : {0.0L, 1.0L, -1.0L, big, -big, inf, -inf, nan, 1e308L, 1.8e308L}) {
        for (Extended b : {0.0L, -0.0L, 1.0L, 1e-4000L, inf, nan, 0.5L}) {
            EXPECT_EQ(Attempt([&] { return Divide(a, b); }), Attempt([&] { return plain::Divide(a, b); }))
                << Describe(a) << " / " << Describe(b);
            EXPECT_EQ(Attempt([&] { return Multiply(a, b); }), Attempt([&] { return plain::Checked(a * b); }))
                << Describe(a) << " * " << Describe(b);
        }
        EXPECT_EQ(Attempt([&] { return ToReal(a); }), Attempt([&] { return plain::ToReal(a); })) << Describe(a);
        EXPECT_EQ(Attempt([&] { return Checked(a); }), Attempt([&] { return plain::Checked(a); })) << Describe(a);
    }
}

}  // namespace
