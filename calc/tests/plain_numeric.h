// The numeric rules in their plainest form, on the C library: rounding with
// nearbyintl and truncl, every fault found by testing for NaN and infinity,
// DecimalRound with its factor from PowerInteger, ParseReal accumulating in
// Extended digit by digit, and FormatReal from the C library's exactly
// rounded digits. Slow and obviously right; the fast routines are compared
// with it (numeric_equivalence_test.cpp, numeric_test.cpp).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "calc/numeric.h"

namespace wormgear::plain {

inline Extended Checked(Extended value) {
    if (std::isnan(value)) throw EInvalidOp();
    if (std::isinf(value)) throw EOverflow();
    return value;
}

inline Real ToReal(Extended value) {
    if (std::isnan(value)) throw EInvalidOp();
    const Real stored = static_cast<Real>(value);
    if (std::isinf(stored)) throw EOverflow();
    return stored;
}

inline Extended Divide(Extended dividend, Extended divisor) {
    if (divisor == 0) {
        if (dividend == 0 || std::isnan(dividend)) throw EInvalidOp();
        throw EZeroDivide();
    }
    return Checked(dividend / divisor);
}

inline std::int64_t ToInt64(Extended integral) {
    constexpr Extended kTwoTo63 = 9223372036854775808.0L;
    if (std::isnan(integral) || integral >= kTwoTo63 || integral < -kTwoTo63) throw EInvalidOp();
    return static_cast<std::int64_t>(integral);
}

// nearbyintl rounds in the current mode, which is to nearest, ties to even.
inline std::int64_t RoundNearest(Extended value) { return ToInt64(nearbyintl(value)); }
inline std::int64_t TruncateToInteger(Extended value) { return ToInt64(truncl(value)); }

inline Real DecimalRound(Real value, int digit) {
    const Real factor = ToReal(PowerInteger(10, digit));
    const std::int64_t n = RoundNearest(Divide(static_cast<Extended>(value), static_cast<Extended>(factor)));
    const Real result = ToReal(static_cast<Extended>(n) * static_cast<Extended>(factor));
    return result == 0 ? 0.0 : result;
}

inline Extended ParseReal(const std::string& text, char separator) {
    std::size_t pos = 0;
    const std::size_t size = text.size();
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    auto reject = [&] { return EConvertError("'" + text + "' is not a valid floating point value"); };
    while (pos < size && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    Extended digits = 0;
    int fractionDigits = 0;
    bool anyMantissa = false;
    while (pos < size && isDigit(text[pos])) {
        digits = digits * 10 + (text[pos++] - '0');
        anyMantissa = true;
    }
    if (pos < size && text[pos] == separator) {
        ++pos;
        anyMantissa = true;
        while (pos < size && isDigit(text[pos])) {
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
        while (pos < size && isDigit(text[pos])) {
            if (exponent < 500) exponent = exponent * 10 + (text[pos] - '0');
            ++pos;
        }
        if (negativeExponent) exponent = -exponent;
    }
    while (pos < size && text[pos] == ' ') ++pos;
    if (pos != size) throw reject();
    if (std::isinf(digits)) throw reject();
    const int scale = exponent - fractionDigits;
    Extended value = digits;
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

// The C library's exactly rounded 18 digits, cut to 15 by the rule (up when
// the 16th is 5 or more), then laid out in fixed or scientific notation.
inline std::string FormatReal(Extended value, char separator = '.') {
    if (std::isnan(value)) throw EInvalidOp();
    if (std::isinf(value)) throw EOverflow();
    if (fabsl(value) < 3.36210314311209350626e-4932L) return "0";  // below the normal range
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", fabsl(value));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.') digits += *p;
    }
    int exponent = std::atoi(p + 1) + 1;
    std::string cut = digits.substr(0, 15);
    if (digits[15] >= '5') {
        int i = 14;
        while (i >= 0 && cut[i] == '9') cut[i--] = '0';
        if (i < 0) {
            cut = "1";
            ++exponent;
        } else {
            ++cut[i];
        }
    }
    while (cut.size() > 1 && cut.back() == '0') cut.pop_back();
    std::string out = value < 0 ? "-" : "";
    if (exponent >= -3 && exponent <= 15) {
        if (exponent > 0) {
            for (int i = 0; i < exponent; ++i) out += i < static_cast<int>(cut.size()) ? cut[i] : '0';
            if (static_cast<int>(cut.size()) > exponent) out += separator + cut.substr(exponent);
        } else {
            out += "0" + std::string(1, separator) + std::string(-exponent, '0') + cut;
        }
    } else {
        out += cut.substr(0, 1);
        if (cut.size() > 1) out += separator + cut.substr(1);
        out += "E" + std::to_string(exponent - 1);
    }
    return out;
}

}  // namespace wormgear::plain
