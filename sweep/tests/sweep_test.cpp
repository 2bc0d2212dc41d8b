// Sweep plans: combinations in order, the texts written into the fields, and
// the plans refused before any work.
#include <gtest/gtest.h>

#include <string>

#include "calc/testing/worked_example.h"
#include "sweep/sweep.h"

using namespace wormgear;

namespace {

TEST(SweepTest, TheFirstAxisVariesSlowest) {
    SweepPlan plan;
    plan.add("base-diameter=126:128:1");
    plan.add("pitch-diameter=62:63:0.5");
    ASSERT_EQ(plan.count(), 9u);
    const char* expected[][2] = {{"126", "62"}, {"126", "62.5"}, {"126", "63"},   {"127", "62"}, {"127", "62.5"},
                                 {"127", "63"}, {"128", "62"},   {"128", "62.5"}, {"128", "63"}};
    DesignInputs texts = WorkedExampleInputs();
    for (std::uint64_t index = 0; index < plan.count(); ++index) {
        plan.apply(index, texts, '.');
        EXPECT_EQ(texts.MainBaseDiameter, expected[index][0]) << index;
        EXPECT_EQ(texts.WormPitchDiameter, expected[index][1]) << index;
        EXPECT_EQ(texts.CentreDistance, "200");  // the other texts as given
    }
    plan.apply(1, texts, ',');
    EXPECT_EQ(texts.WormPitchDiameter, "62,5");
    EXPECT_EQ(SweepPlan().count(), 1u);
}

TEST(SweepTest, RefusedPlansStayUnchanged) {
    const struct {
        const char* spec;
        const char* reason;
    } cases[] = {
        {"diameter=1:2:1", "names no field"},
        {"base-diameter", "is not FIELD=FROM:TO:STEP"},
        {"base-diameter=1:2:0", "base-diameter: STEP \"0\" must be greater than 0"},
        {"teeth=40:41:0.5", "teeth takes whole numbers only"},
        {"starts=1:3000000000:1", "whole numbers of 32 bits"},
        {"centre-distance=200:200.00000000000001:0.00000000000001", "the step is too small"},
        {"pitch-diameter=10000000000000000:10000000000000002:1", "the step is too small"},  // doubles 2 apart there
        // Whole numbers are doubles up to 2^53 = 9007199254740992 and even ones only above it:
        // the first two values read apart, the last two (…992, …993) as one.
        {"pitch-diameter=9007199254740990:9007199254740993:1", "the step is too small"},
        {"pitch-diameter=1:100000:1", "more than 10000000 combinations"},  // 200 * 100000
        {"backlash=0.1:0.3:0.1", "backlash is swept twice"},
    };
    for (const auto& c : cases) {
        SweepPlan plan;
        plan.add("base-diameter=126:325:1");  // 200 values
        plan.add("backlash=0.2:0.3:0.1");
        try {
            plan.add(c.spec);
            ADD_FAILURE() << c.spec << " accepted";
        } catch (const SweepError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.spec << ": " << e.what();
        }
        EXPECT_EQ(plan.count(), 400u) << c.spec;
        EXPECT_EQ(plan.axes().size(), 2u);
    }
    SweepPlan limit;
    limit.add("base-diameter=1:10000:1");
    limit.add("pitch-diameter=1:1000:1");  // exactly 10,000,000
    EXPECT_EQ(limit.count(), SweepPlan::kMostCombinations);
    EXPECT_THROW(limit.add("backlash=0.1:0.2:0.1"), SweepError);
    // A text field that no calculation reads may be swept too.
    SweepPlan texts;
    texts.add("entrance-relief=0.1:0.3:0.1");
    EXPECT_EQ(texts.count(), 3u);
}

}  // namespace
