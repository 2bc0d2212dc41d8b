// The table of calculated designs: its header, the worked example's row, a
// failed design's row, quoting and the '.' of every number.
#include <gtest/gtest.h>

#include <string>

#include "calc/testing/worked_example.h"
#include "sweep/design_table.h"

using namespace wormgear;

namespace {

std::string Row(const DesignInputs& inputs, char separator) {
    const TCoefficientTable table = WorkedExampleCoefficients();
    const CalculationOutcome outcome = Calculate(inputs, false, table, separator);
    const std::vector<Finding> findings = CheckDesign(inputs, table, outcome, separator);
    std::string row;
    AppendDesignRow(row, inputs, outcome, Worst(findings), separator);
    return row;
}

TEST(DesignTableTest, HeaderNamesFieldsByOptionAndResultsBySymbol) {
    EXPECT_EQ(DesignTableHeader(),
              "centre-distance,speed-ratio,teeth,starts,base-diameter,eccentricity,pitch-diameter,backlash,"
              "grinding-increment,d2,E,Rf1,L,Ra1,ls,Db,β,α,sn1,h1,mt,K,φ,γ,da1max,sa1,Ra0,Rf0,L0,sn0,h0,K0,sa0,"
              "de2,da2,b2,sn2,h2,Ra2,βm,im,Am,Dbm,check\n");
}

TEST(DesignTableTest, TheWorkedExampleRow) {
    // The values of the worked example, panel by panel.
    const std::string expected =
        "200,25,50,2,130,0,78,0.3,0.2,"
        "322,0,168.728,101,156.492,12,130,11.025,23.811,8.686,4.448,6.44,5.5,18.18,9.377,103.76,4.58,"
        "153.916,168.928,111,8.986,7.024,6,2.43,"
        "337,331.016,70,10.979,4.604,39,"
        "11.038,25.1,200.644,130.518,\n";
    EXPECT_EQ(Row(WorkedExampleInputs(), '.'), expected);
    // Calculated with ',' as the user's separator, the table still writes '.'.
    DesignInputs comma = WorkedExampleInputs();
    comma.Backlash = "0,3";
    comma.GrindingIncrement = "0,2";
    EXPECT_EQ(Row(comma, ','), expected);
}

TEST(DesignTableTest, AFailedDesignKeepsItsWrittenValuesAndItsCause) {
    DesignInputs inputs = WorkedExampleInputs();
    inputs.MainBaseDiameter = "400";
    // Seven lines before the arc sine of the pressure angle: d2, E, Rf1, L, Ra1, ls, Db.
    EXPECT_EQ(Row(inputs, '.'),
              "200,25,50,2,400,0,78,0.3,0.2,322,0,168.728,101,156.492,12,400,,,,,,,,,,,,,,,,,,,,,,,,,,,,"
              "error:pressure-angle-undefined\n");
    inputs = WorkedExampleInputs();
    inputs.Backlash = "0.8";            // usual for A 200; the wider band of 200 to 315 names it
    inputs.TipArcEccentricity = "1,5";  // not a number with '.': quoted as typed
    const std::string row = Row(inputs, '.');
    EXPECT_EQ(row.substr(0, 34), "200,25,50,2,130,\"1,5\",78,0.8,0.2,,") << row;
    EXPECT_NE(row.find(",error:eccentricity-not-a-number\n"), std::string::npos) << row;
}

TEST(DesignTableTest, FieldsAreQuotedOnlyWhenTheyMustBe) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {{"plain", "plain"},
                 {"a,b", "\"a,b\""},
                 {"say \"8j\"", "\"say \"\"8j\"\"\""},
                 {"two\nlines", "\"two\nlines\""},
                 // Not UTF-8: each ill-formed sequence one U+FFFD, so the table stays UTF-8.
                 {"8j\xFF,\xE8\x9C", "\"8j\xEF\xBF\xBD,\xEF\xBF\xBD\""},
                 {"蜗轮", "蜗轮"}};
    for (const auto& c : cases) {
        std::string csv;
        AppendCsvField(csv, c.text);
        EXPECT_EQ(csv, c.field);
    }
    EXPECT_EQ(WorstFindingText(nullptr), "");
}

}  // namespace
