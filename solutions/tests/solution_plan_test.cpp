// Plans of tables of solutions: the designs they number, their exact texts,
// the starts over 1 to 4, and every request refused before any work.
#include "solutions/solution_plan.h"

#include <gtest/gtest.h>

#include "calc/testing/worked_example.h"

namespace wormgear {
namespace {

SolutionRequest WorkedExampleRequest() {
    SolutionRequest request;
    request.base = WorkedExampleInputs();
    request.coefficients = WorkedExampleCoefficients();
    return request;
}

// R3(200^0.875) = R3(103.13385377212...) = 103.134 (computed with 40 digits
// in Python's decimal module); the factors scale this base.
TEST(SolutionPlan, TheHintsRangesGiveExactDiametersAroundTheCentreDistance) {
    const SolutionPlan plan(WorkedExampleRequest(), '.');
    EXPECT_EQ(plan.factorBase(), "103.134");
    EXPECT_EQ(plan.size(SolutionAxis::Starts), 1u);
    EXPECT_EQ(plan.size(SolutionAxis::Share), 5u);    // 0.63 .. 0.67
    EXPECT_EQ(plan.size(SolutionAxis::Factor), 19u);  // 0.6 .. 0.78
    EXPECT_EQ(plan.count(), 95u);
    struct Case {
        std::uint64_t design;
        const char *share, *db, *factor, *d1;
    };
    const Case kCases[] = {
        {0, "0.63", "126", "0.6", "61.8804"},     // 0.6 x 103.134
        {18, "0.63", "126", "0.78", "80.44452"},  // 0.78 x 103.134
        {19, "0.64", "128", "0.6", "61.8804"},   {2 * 19 + 16, "0.65", "130", "0.76", "78.38184"},
        {94, "0.67", "134", "0.78", "80.44452"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.design);
        const DesignInputs texts = plan.inputs(c.design);
        EXPECT_EQ(plan.shareText(plan.position(c.design, SolutionAxis::Share), '.'), c.share);
        EXPECT_EQ(plan.factorText(plan.position(c.design, SolutionAxis::Factor), '.'), c.factor);
        EXPECT_EQ(texts.MainBaseDiameter, c.db);
        EXPECT_EQ(texts.WormPitchDiameter, c.d1);
        // The rest as the request has it.
        EXPECT_EQ(texts.CentreDistance, "200");
        EXPECT_EQ(texts.SpeedRatio, "25");
        EXPECT_EQ(texts.WheelTeeth, "50");
        EXPECT_EQ(texts.WormStarts, "2");
        EXPECT_EQ(texts.TipArcEccentricity, "0");
        EXPECT_EQ(texts.Backlash, "0.3");
        EXPECT_EQ(texts.GrindingIncrement, "0.2");
        EXPECT_EQ(texts.WormAccuracy, "8j (GB/T16445-1996)");
    }
}

TEST(SolutionPlan, FineStepsNeverDrift) {
    SolutionRequest request = WorkedExampleRequest();
    request.base.CentreDistance = "123.4";
    request.share = {"0.63", "0.67", "0.001"};
    const SolutionPlan plan(request, '.');
    ASSERT_EQ(plan.size(SolutionAxis::Share), 41u);
    // 0.001 x 123.4 = 0.1234 a step, each value the exact product.
    const char* const kExpected[] = {"77.742", "77.8654", "77.9888"};
    for (std::uint64_t k = 0; k < 3; ++k) {
        EXPECT_EQ(plan.inputs(k * plan.stride(SolutionAxis::Share)).MainBaseDiameter, kExpected[k]);
    }
    EXPECT_EQ(plan.inputs(40 * plan.stride(SolutionAxis::Share)).MainBaseDiameter, "82.678");  // 0.67 x 123.4
}

TEST(SolutionPlan, TextsTakeTheUsersSeparator) {
    SolutionRequest request = WorkedExampleRequest();
    request.base.Backlash = "0,3";
    request.base.GrindingIncrement = "0,2";
    request.share = {"0,63", "0,67", "0,02"};
    request.factor = {"0,6", "0,6", "0,01"};
    const SolutionPlan plan(request, ',');
    ASSERT_EQ(plan.count(), 3u);
    EXPECT_EQ(plan.inputs(1).MainBaseDiameter, "130");
    EXPECT_EQ(plan.inputs(0).WormPitchDiameter, "61,8804");
    EXPECT_EQ(plan.shareText(1, ','), "0,65");
    EXPECT_EQ(plan.factorBase(), "103.134");
}

TEST(SolutionPlan, EveryDesignIsNumberedStartsSlowestThenShareFactorEAndBacklash) {
    SolutionRequest request = WorkedExampleRequest();
    request.startsOneToFour = true;
    request.share = {"0.63", "0.65", "0.01"};               // 3
    request.factor = {"0.7", "0.72", "0.02"};               // 2
    request.eccentricity = SolutionRange{"0", "1", "0.5"};  // 3
    request.backlash = SolutionRange{"0.2", "0.3", "0.1"};  // 2
    const SolutionPlan plan(request, '.');
    ASSERT_EQ(plan.size(SolutionAxis::Starts), 4u);  // 25 x 1, 2, 3, 4 are all whole
    ASSERT_EQ(plan.count(), 4u * 3 * 2 * 3 * 2);
    std::uint64_t design = 0;
    for (int z1 = 1; z1 <= 4; ++z1)
        for (const char* db : {"126", "128", "130"})
            for (const char* d1 : {"72.1938", "74.25648"})
                for (const char* e : {"0", "0.5", "1"})
                    for (const char* jn : {"0.2", "0.3"}) {
                        SCOPED_TRACE(design);
                        const DesignInputs texts = plan.inputs(design);
                        EXPECT_EQ(texts.WormStarts, std::to_string(z1));
                        EXPECT_EQ(texts.WheelTeeth, std::to_string(25 * z1));
                        EXPECT_EQ(texts.MainBaseDiameter, db);
                        EXPECT_EQ(texts.WormPitchDiameter, d1);
                        EXPECT_EQ(texts.TipArcEccentricity, e);
                        EXPECT_EQ(texts.Backlash, jn);
                        // One field at a time gives the same texts.
                        for (const DesignFieldDescription& field : DesignFields())
                            EXPECT_EQ(plan.text(design, field.field, '.'), texts.*field.text) << field.option;
                        ++design;
                    }
    EXPECT_TRUE(plan.sweeps(DesignField::TipArcEccentricity));
    EXPECT_FALSE(plan.sweeps(DesignField::CentreDistance));
}

TEST(SolutionPlan, StartsOverOneToFourKeepOnlyWholeTeeth) {
    struct Case {
        const char* ratio;
        std::vector<std::pair<std::string, std::string>> pairs;  // (z1, z2)
    };
    const Case kCases[] = {
        {"25", {{"1", "25"}, {"2", "50"}, {"3", "75"}, {"4", "100"}}},
        {"10.5", {{"2", "21"}, {"4", "42"}}},
        {"12.25", {{"4", "49"}}},
        {"7.5", {{"2", "15"}, {"4", "30"}}},
        {"13.3333333333333333", {}},  // z2/z1 = 40/3 in no whole way
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.ratio);
        SolutionRequest request = WorkedExampleRequest();
        request.base.SpeedRatio = c.ratio;
        request.startsOneToFour = true;
        if (c.pairs.empty()) {
            try {
                SolutionPlan plan(request, '.');
                ADD_FAILURE() << "accepted";
            } catch (const SolutionRequestError& e) {
                EXPECT_EQ(e.input(), SolutionInput::Starts);
            }
            continue;
        }
        const SolutionPlan plan(request, '.');
        ASSERT_EQ(plan.size(SolutionAxis::Starts), c.pairs.size());
        for (std::uint64_t k = 0; k < c.pairs.size(); ++k) {
            const DesignInputs texts = plan.inputs(k * plan.stride(SolutionAxis::Starts));
            EXPECT_EQ(texts.WormStarts, c.pairs[k].first);
            EXPECT_EQ(texts.WheelTeeth, c.pairs[k].second);
        }
    }
}

// Each refused before any design exists, naming the part and the reason.
TEST(SolutionPlan, BadRequestsAreRefusedWithTheirReason) {
    struct Case {
        const char* what;
        void (*change)(SolutionRequest&);
        SolutionInput input;
        const char* reason;  // part of the sweep rules' text
    };
    const Case kCases[] = {
        {"zero share step", [](SolutionRequest& r) { r.share.step = "0"; }, SolutionInput::Share,
         "must be greater than 0"},
        {"negative factor step", [](SolutionRequest& r) { r.factor.step = "-0.01"; }, SolutionInput::Factor,
         "must be greater than 0"},
        {"share TO below FROM",
         [](SolutionRequest& r) {
             r.share = {"0.67", "0.63", "0.01"};
         },
         SolutionInput::Share, "lies below FROM"},
        {"share not a number", [](SolutionRequest& r) { r.share.from = "0.6x"; }, SolutionInput::Share,
         "not a plain decimal"},
        {"factor step empty", [](SolutionRequest& r) { r.factor.step = ""; }, SolutionInput::Factor, "not a number"},
        {"share step too small to change Db",
         [](SolutionRequest& r) {
             r.share = {"0.63", "0.63000000000000001", "0.00000000000000001"};
         },
         SolutionInput::Share, "too small"},
        {"E step zero",
         [](SolutionRequest& r) {
             r.eccentricity = SolutionRange{"0", "1", "0"};
         },
         SolutionInput::Eccentricity, "must be greater than 0"},
        {"backlash TO below FROM",
         [](SolutionRequest& r) {
             r.backlash = SolutionRange{"0.5", "0.2", "0.1"};
         },
         SolutionInput::Backlash, "lies below FROM"},
        {"more than ten million",
         [](SolutionRequest& r) {
             r.share = {"0.63", "0.67", "0.00000001"};
         },
         SolutionInput::Combinations, "more than 10000000 combinations"},
        {"ten million only with the starts",
         [](SolutionRequest& r) {
             r.startsOneToFour = true;                      // 4 pairs
             r.share = {"0.6", "0.6049999", "0.0000001"};   // 50,000
             r.factor = {"0.6", "0.6000099", "0.0000001"};  // 100 -> 5,000,000 x 4
         },
         SolutionInput::Combinations, "more than 10000000 combinations"},
        {"centre distance empty", [](SolutionRequest& r) { r.base.CentreDistance = ""; }, SolutionInput::CentreDistance,
         "not a plain decimal"},
        {"centre distance in exponent form", [](SolutionRequest& r) { r.base.CentreDistance = "2E2"; },
         SolutionInput::CentreDistance, "not a plain decimal"},
        {"centre distance zero", [](SolutionRequest& r) { r.base.CentreDistance = "0"; }, SolutionInput::CentreDistance,
         "greater than 0"},
        {"ratio not a number with the starts running",
         [](SolutionRequest& r) {
             r.startsOneToFour = true;
             r.base.SpeedRatio = "abc";
         },
         SolutionInput::SpeedRatio, "not a plain decimal"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        SolutionRequest request = WorkedExampleRequest();
        c.change(request);
        try {
            SolutionPlan plan(request, '.');
            ADD_FAILURE() << "accepted with " << plan.count() << " designs";
        } catch (const SolutionRequestError& e) {
            EXPECT_EQ(e.input(), c.input);
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

TEST(SolutionPlan, TenMillionAreTaken) {
    SolutionRequest request = WorkedExampleRequest();
    request.share = {"0.6", "0.6999999", "0.0000001"};  // 1,000,000
    request.factor = {"0.6", "0.69", "0.01"};           // 10
    EXPECT_EQ(SolutionPlan(request, '.').count(), 10000000u);
}

}  // namespace
}  // namespace wormgear
