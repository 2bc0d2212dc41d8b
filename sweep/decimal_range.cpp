// Exact decimal ranges: texts read into scaled integers, values written back
// from them.
#include "sweep/decimal_range.h"

#include <algorithm>

namespace wormgear {

namespace {

// A plain decimal as digits and a scale: "-12.50" -> -1250, 2.
struct Decimal {
    bool negative = false;
    std::uint64_t digits = 0;  // at most 18 significant digits
    int scale = 0;
};

constexpr int kMostDigits = 18;  // 10^18 < 2^63

Decimal ReadDecimal(std::string_view text, std::string_view what) {
    auto refuse = [&](const std::string& why) {
        return SweepError(std::string(what) + " \"" + std::string(text) + "\" " + why);
    };
    Decimal d;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) d.negative = text[pos++] == '-';
    bool anyDigit = false, point = false;
    int significant = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') throw refuse("is not a plain decimal number (digits and one '.')");
        anyDigit = true;
        if (d.digits == 0 && c == '0' && !point) continue;  // leading zeros
        if (d.digits != 0 || c != '0') ++significant;
        if (significant > kMostDigits) throw refuse("has more digits than a sweep holds (18)");
        d.digits = d.digits * 10 + static_cast<std::uint64_t>(c - '0');
        if (point) ++d.scale;
    }
    if (!anyDigit) throw refuse("is not a number");
    if (d.scale > kMostDigits) throw refuse("has more digits than a sweep holds (18)");
    return d;
}

// value * 10^(scale - d.scale) as a signed integer; false when it does not fit 18 digits.
bool Scaled(const Decimal& d, int scale, std::int64_t& out) {
    constexpr std::uint64_t kLimit = 999999999999999999ull;
    std::uint64_t v = d.digits;
    for (int k = d.scale; k < scale; ++k) {
        if (v > kLimit / 10) return false;
        v *= 10;
    }
    out = d.negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    return true;
}

}  // namespace

DecimalRange::DecimalRange(std::string_view from, std::string_view to, std::string_view step) {
    const Decimal f = ReadDecimal(from, "FROM"), t = ReadDecimal(to, "TO"), s = ReadDecimal(step, "STEP");
    scale_ = std::max({f.scale, t.scale, s.scale});
    std::int64_t first = 0, last = 0;
    if (!Scaled(f, scale_, first) || !Scaled(t, scale_, last) || !Scaled(s, scale_, step_)) {
        throw SweepError("the range " + std::string(from) + ":" + std::string(to) + ":" + std::string(step) +
                         " has more digits than a sweep holds (18 at its finest decimal)");
    }
    if (step_ <= 0) throw SweepError("STEP \"" + std::string(step) + "\" must be greater than 0");
    if (last < first) {
        throw SweepError("TO \"" + std::string(to) + "\" lies below FROM \"" + std::string(from) + "\"");
    }
    from_ = first;
    // Both are below 10^18 in size, so the difference fits 64 unsigned bits.
    const std::uint64_t span = static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(first);
    count_ = span / static_cast<std::uint64_t>(step_) + 1;
}

std::size_t DecimalRange::text(std::uint64_t k, char separator, char* out) const {
    // from + k * step stays within [from, to], below 10^18 in size.
    const std::int64_t value = from_ + static_cast<std::int64_t>(k) * step_;
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    int scale = scale_;
    while (scale > 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        --scale;
    }
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0 || n <= scale);  // at least one digit before the point
    char* p = out;
    if (value < 0) *p++ = '-';
    for (int i = n - 1; i >= 0; --i) {
        *p++ = digits[i];
        if (i == scale && scale > 0) *p++ = separator;
    }
    return static_cast<std::size_t>(p - out);
}

std::string DecimalRange::text(std::uint64_t k, char separator) const {
    char buffer[24];
    return std::string(buffer, text(k, separator, buffer));
}

DecimalRange ParseDecimalRange(std::string_view text) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos) {
        throw SweepError("\"" + std::string(text) + "\" is not FROM:TO:STEP");
    }
    return DecimalRange(text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1));
}

}  // namespace wormgear
