// Proposals and read-outs of the centre-distance suggestions with the shipped
// exponent c0 = 0.875.
#include <gtest/gtest.h>

#include "calc/suggestions.h"

using namespace wormgear;

namespace {

struct SuggestionCase {
    const char* centre;
    const char* base;    // Edit5 proposal
    const char* share;   // Label46 for that proposal
    const char* pitch;   // Edit7 proposal
    const char* factor;  // Label47 for that proposal
};

const SuggestionCase kCases[] = {
    {"450", "292", "0.648888888888889", "159.358", "0.759998473879494"},  // 292.5 rounds to even
    {"100", "65", "0.65", "42.738", "0.760002845253761"},
};

TEST(SuggestionsTest, ProposalsAndReadOuts) {
    for (const auto& c : kCases) {
        EXPECT_EQ(ProposeMainBaseDiameter(c.centre, '.'), c.base) << c.centre;
        EXPECT_EQ(MainBaseDiameterShare(c.base, c.centre, '.'), c.share) << c.centre;
        EXPECT_EQ(ProposeWormPitchDiameter(c.centre, 0.875, '.'), c.pitch) << c.centre;
        EXPECT_EQ(WormPitchDiameterFactor(c.pitch, c.centre, 0.875, '.'), c.factor) << c.centre;
    }
}

TEST(SuggestionsTest, BaseDiameterShareIsHeldJustBelowItsDecimal) {
    EXPECT_EQ(ProposeMainBaseDiameter("70", '.'), "46");
    EXPECT_EQ(ProposeMainBaseDiameter("710", '.'), "461");  // the Extended product lies just below 461.5
    EXPECT_EQ(ProposeMainBaseDiameter("100.4", '.'), "65");
}

TEST(SuggestionsTest, EveryProposalIsWrittenAsFormatRealWritesNumbers) {
    struct Case {
        const char* centre;
        const char* base;  // RoundNearest(A * 0.65) in the general format of fifteen digits
    };
    const Case cases[] = {
        {"1e16", "6.5E15"},                     // sixteen digits: the exponent form
        {"1.5e15", "975000000000000"},          // fifteen digits: still a whole number
        {"1e14", "65000000000000"},             // fourteen digits stay a whole number
        {"123456789012345", "80246912858024"},  // 80246912858024.25 rounds down
    };
    for (const auto& c : cases) EXPECT_EQ(ProposeMainBaseDiameter(c.centre, '.'), c.base) << c.centre;
    EXPECT_EQ(ProposeMainBaseDiameter("1e16", ','), "6,5E15");
}

TEST(SuggestionsTest, Failures) {
    EXPECT_EQ(ProposeMainBaseDiameter("0", '.'), "0");
    EXPECT_EQ(ProposeWormPitchDiameter("0", 0.875, '.'), "0");
    EXPECT_THROW(MainBaseDiameterShare("0", "0", '.'), EInvalidOp);  // 0 / 0
    EXPECT_THROW(WormPitchDiameterFactor("0", "0", 0.875, '.'), EInvalidOp);
    EXPECT_THROW(MainBaseDiameterShare("12", "", '.'), EConvertError);  // Edit1 emptied
    EXPECT_THROW(ProposeMainBaseDiameter("4a", '.'), EConvertError);
    EXPECT_THROW(ProposeWormPitchDiameter("-5", 0.875, '.'), EInvalidOp);  // negative A in the power
    EXPECT_THROW(ProposeMainBaseDiameter("1e300", '.'), EInvalidOp);       // beyond Int64
}

}  // namespace
