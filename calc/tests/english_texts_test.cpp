// The calculation's texts through the English catalogue: the result lines
// keep their number and hyphens and change only the name; every name of the
// tables has its English form, and no two results share one.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calc/design.h"
#include "calc/testing/worked_example.h"
#include "translations/testing/english.h"

using namespace wormgear;

namespace {

const ResultLine& LineOf(const CalculationOutcome& outcome, ResultId id) {
    for (const ResultLine& line : outcome.lines)
        if (line.id == id) return line;
    throw std::logic_error("no such line");
}

TEST(EnglishTexts, ResultLinesKeepNumberAndHyphens) {
    const CalculationOutcome out = Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.');
    ASSERT_TRUE(out.succeeded());
    struct Case {
        ResultId id;
        const char* english;
    };
    const Case cases[] = {
        {ResultId::WheelPitchDiameter, "322-----wheel pitch diameter"},
        {ResultId::WormRootArcRadius, "168.728-----worm root arc radius"},
        {ResultId::GeneratingPlaneAngle, "11.025-----generating plane angle"},
        {ResultId::WheelMeasuredThickness, "10.979------wheel measured thickness"},     // six hyphens
        {ResultId::ModificationBaseDiameter, "130.518----modification base diameter"},  // four
    };
    for (const Case& c : cases) {
        const ResultLine& line = LineOf(out, c.id);
        EXPECT_EQ(ResultLineText(line, English()), c.english);
        EXPECT_EQ(ResultLineText(line, {}), line.text);
    }
}

TEST(EnglishTexts, CommaNumbersStayAsShown) {
    const CalculationOutcome out = Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), ',');
    // The comma notation of the inputs is not the worked example's: only the
    // number part is compared, which must come through untouched.
    for (const ResultLine& line : out.lines) {
        const std::string english = ResultLineText(line, English());
        EXPECT_EQ(english.substr(0, line.number().size()), line.number());
    }
}

TEST(EnglishTexts, EveryNameHasAnEnglishFormOfItsOwn) {
    std::set<std::string> names;
    for (const ResultDescription& result : Results()) {
        const std::string english = ResultName(result, English());
        EXPECT_NE(english, result.name()) << result.label;
        EXPECT_FALSE(english.empty()) << result.label;
        EXPECT_TRUE(names.insert(english).second) << "two results named " << english;
        for (unsigned char c : english) EXPECT_LT(c, 0x80) << result.label;
    }
    for (const PanelDescription& panel : Panels()) {
        EXPECT_NE(PanelCaption(panel, English()), PanelCaption(panel, {}));
        EXPECT_EQ(PanelCaption(panel, {}), panel.caption);
    }
}

TEST(EnglishTexts, FailureMessages) {
    EXPECT_EQ(CalculationMessage(kRatioMismatchMessage, {}), kRatioMismatchMessage);
    EXPECT_EQ(CalculationMessage(kRatioMismatchMessage, English()),
              "Incorrect input......(speed ratio = teeth/starts)");
    EXPECT_EQ(CalculationMessage(kInvalidInputMessage, English()),
              "Your input is not valid......(only valid numbers, none empty)");
    EXPECT_EQ(CalculationMessage("", English()), "");
}

}  // namespace
