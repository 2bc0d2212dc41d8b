// Exact decimal ranges: the values a range gives as texts, and the ranges it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sweep/decimal_range.h"

using namespace wormgear;

namespace {

std::vector<std::string> Values(const char* spec, char separator = '.') {
    const DecimalRange range = ParseDecimalRange(spec);
    std::vector<std::string> values;
    for (std::uint64_t k = 0; k < range.count(); ++k) values.push_back(range.text(k, separator));
    return values;
}

using Texts = std::vector<std::string>;

TEST(DecimalRangeTest, ValuesAreExactDecimalTexts) {
    const struct {
        const char* spec;
        Texts values;
    } cases[] = {
        {"0.63:0.67:0.01", {"0.63", "0.64", "0.65", "0.66", "0.67"}},  // no 0.6500000001
        {"1:2:0.25", {"1", "1.25", "1.5", "1.75", "2"}},
        {"-1:1:0.5", {"-1", "-0.5", "0", "0.5", "1"}},
        {"0.1:0.35:0.1", {"0.1", "0.2", "0.3"}},  // TO between two steps
        {"200:200:1", {"200"}},
        {".5:1.5:.5", {"0.5", "1", "1.5"}},
        {"1.50:2.00:0.25", {"1.5", "1.75", "2"}},
        {"+7:9:1", {"7", "8", "9"}},
        {"-0.003:-0.001:0.001", {"-0.003", "-0.002", "-0.001"}},
        {"99999999999999998:99999999999999999:1", {"99999999999999998", "99999999999999999"}},
        {"0.000000000000000001:0.000000000000000003:0.000000000000000001",
         {"0.000000000000000001", "0.000000000000000002", "0.000000000000000003"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Values(c.spec), c.values) << c.spec;
    EXPECT_EQ(Values("0.63:0.65:0.01", ','), (Texts{"0,63", "0,64", "0,65"}));
}

TEST(DecimalRangeTest, ManyValuesStayExact) {
    // 0.6 to 0.78 in steps of 0.00001: 18001 values; the k-th is 60000 + k
    // hundred-thousandths, written here from whole numbers.
    const DecimalRange range = ParseDecimalRange("0.6:0.78:0.00001");
    ASSERT_EQ(range.count(), 18001u);
    for (std::uint64_t k = 0; k < range.count(); k += 7) {
        std::string expected = std::to_string(60000 + k);
        expected = "0." + expected;
        while (expected.back() == '0') expected.pop_back();
        ASSERT_EQ(range.text(k, '.'), expected) << k;
    }
    EXPECT_EQ(ParseDecimalRange("0:1:0.0000001").count(), 10000001u);
    EXPECT_TRUE(ParseDecimalRange("40:60:1").whole());
    EXPECT_FALSE(ParseDecimalRange("40:60:0.5").whole());
}

TEST(DecimalRangeTest, RefusesWhatCannotBeSwept) {
    const struct {
        const char* spec;
        const char* reason;
    } cases[] = {
        {"1:2:0", "must be greater than 0"},
        {"1:2:-0.1", "must be greater than 0"},
        {"1:2:0.000", "must be greater than 0"},
        {"2:1:0.1", "lies below FROM"},
        {"1e3:2e3:1", "is not a plain decimal"},
        {"a:2:1", "is not a plain decimal"},
        {"1:2", "is not FROM:TO:STEP"},
        {"1:2:3:4", "is not FROM:TO:STEP"},
        {":2:1", "is not a number"},
        {"1:2:.", "is not a number"},
        {"1..5:2:1", "is not a plain decimal"},
        {"1234567890123456789:1234567890123456790:1", "more digits"},
        {"1:100000000000000000:0.1", "more digits"},
    };
    for (const auto& c : cases) {
        try {
            ParseDecimalRange(c.spec);
            ADD_FAILURE() << c.spec << " accepted";
        } catch (const SweepError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.spec << ": " << e.what();
        }
    }
}

}  // namespace
