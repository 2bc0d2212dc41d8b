// wormcalc's design checks, --check, --csv and --sweep through RunWormcalc:
// where the findings appear, the exit statuses, the table's rows against
// single calculations of the same texts, the same rows for any number of
// threads, and the ranges refused before any work.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/tests/wormcalc_run.h"

using namespace wormgear;

namespace {

using Result = WormcalcResult;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

TEST(ChecksAndTablesTest, TextOutputListsTheChecksAfterThePanelsOrBeneathTheMessage) {
    const Result made = Wormcalc(Example({"--base-diameter", "250"}));
    EXPECT_EQ(made.status, 0);  // calculated; the checks do not change the status
    const std::size_t modification = made.out.find("130.518----修形主基圆直径");
    const std::size_t checks = made.out.find("\n设计检查\n错误：蜗杆齿顶宽 sa1 = -2.79 ≤ 0");
    EXPECT_EQ(modification, std::string::npos);  // Db 250 changes the last line too
    ASSERT_NE(checks, std::string::npos) << made.out;
    EXPECT_GT(checks, made.out.find("蜗杆修形（一般型传动）"));
    EXPECT_NE(made.out.find("    建议：减小主基圆直径 Db（压力角随之减小）或减小侧隙\n"), std::string::npos);

    const Result failed = Wormcalc(Example({"--base-diameter", "400"}));
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(Lines(failed.err).at(0), "wormcalc: 您输入的内容不符合要求......（只能输入合法数字，且不能为空）");
    EXPECT_EQ(Lines(failed.err).at(1), "设计检查");
    EXPECT_EQ(Lines(failed.err).at(2).rfind("错误：主基圆直径 Db = 400 超出蜗轮分度圆直径 d2 = 322", 0), 0u);

    // A usual design prints its panels only.
    EXPECT_EQ(Wormcalc(Example()).out.find("设计检查"), std::string::npos);
}

TEST(ChecksAndTablesTest, CheckPrintsOnlyTheFindingsAndFailsOnAnError) {
    const struct {
        std::vector<std::string> extra;
        int status;
        const char* first;  // first line printed, "" for none
    } cases[] = {
        {{}, 0, ""},
        {{"--base-diameter", "125"}, 0, "设计检查"},  // a warning only
        {{"--base-diameter", "250"}, 1, "设计检查"},  // calculated, but cannot be made
        {{"--base-diameter", "400"}, 1, "设计检查"},  // fails
        {{"--speed-ratio", "24"}, 1, "设计检查"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = Example(c.extra);
        args.push_back("--check");
        const Result r = Wormcalc(args);
        EXPECT_EQ(r.status, c.status) << r.out;
        EXPECT_EQ(r.out.rfind(c.first, 0), 0u) << r.out;
        EXPECT_EQ(r.out.find("-----"), std::string::npos) << "no result line: " << r.out;
        EXPECT_EQ(r.err, "");
    }
    const Result json = Wormcalc(Example({"--base-diameter", "125", "--check", "--json"}));
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.rfind("{\"checks\":[{\"severity\":\"warning\",\"code\":\"base-diameter-share-outside-hint\","
                             "\"fields\":[\"centre-distance\",\"base-diameter\"],\"message\":\"主基圆直径系数 Db/A = "
                             "0.625，不在提示的 0.63～0.67 之间\",",
                             0),
              0u)
        << json.out;
    EXPECT_NE(json.out.find("\"values\":{\"share\":0.625}}]}\n"), std::string::npos) << json.out;
}

TEST(ChecksAndTablesTest, JsonCarriesTheChecksAlsoOnFailure) {
    const Result ok = Wormcalc(Example({"--json"}));
    EXPECT_NE(ok.out.find("\"checks\":[]}"), std::string::npos);
    const Result failed = Wormcalc(Example({"--pitch-diameter", "0", "--json"}));
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("\"checks\":[{\"severity\":\"error\",\"code\":\"lead-angle-pitch-diameter-zero\","
                              "\"fields\":[\"pitch-diameter\"]"),
              std::string::npos)
        << failed.out;
    EXPECT_NE(failed.out.find("\"suggestion\":\"蜗杆分度圆直径可取 78.382（按中心距的建议值）\""), std::string::npos);
    // With ',' as the user's separator the message follows it, the values stay JSON numbers.
    const Result comma = Wormcalc(Example({"--base-diameter", "125,5", "--json"}), "", {}, ',');
    EXPECT_NE(comma.out.find("Db/A = 0,6275"), std::string::npos) << comma.out;
    EXPECT_NE(comma.out.find("\"values\":{\"share\":0.6275}"), std::string::npos) << comma.out;
    // A separator that JSON must escape is escaped in the lines too.
    const Result quote = Wormcalc(Example({"--backlash", "0\"3", "--grinding-increment", "0\"2", "--json"}), "", {},
                                  '"');
    EXPECT_NE(quote.out.find("\"text\":\"130\\\"518----修形主基圆直径\"}"), std::string::npos) << quote.out;
}

TEST(ChecksAndTablesTest, CsvOfOneDesign) {
    const Result r = Wormcalc(Example({"--csv", "--backlash", "0.3"}));
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].rfind("centre-distance,speed-ratio,teeth,starts,base-diameter,", 0), 0u);
    EXPECT_EQ(rows[1].rfind("200,25,50,2,130,0,78,0.3,0.2,322,0,168.728,101,", 0), 0u);
    EXPECT_EQ(rows[1].back(), ',');  // no finding

    const Result failed = Wormcalc(Example({"--csv", "--starts", "0", "--speed-ratio", "x"}));
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(Lines(failed.out).at(1).substr(Lines(failed.out).at(1).rfind(',') + 1), "error:speed-ratio-not-a-number");
}

// Every combination of a sweep as a single calculation of the same texts.
std::string SingleRows(const std::vector<std::vector<std::string>>& combinations) {
    std::string rows;
    for (const auto& texts : combinations) {
        const Result one = Wormcalc(Example({"--base-diameter", texts[0], "--backlash", texts[1], "--csv"}));
        rows += Lines(one.out).at(1) + "\n";
    }
    return rows;
}

TEST(ChecksAndTablesTest, SweepRowsAreSingleCalculationsInOrderForAnyThreads) {
    // Db from 320 to 324 passes d2 = 322 on the way: failing rows among the others.
    std::vector<std::vector<std::string>> combinations;
    for (const char* db : {"320", "320.5", "321", "321.5", "322", "322.5", "323", "323.5", "324"}) {
        for (const char* jn : {"0.1", "0.2", "0.3"}) combinations.push_back({db, jn});
    }
    const std::string expected = SingleRows(combinations);
    for (const char* threads : {"1", "2", "3"}) {
        const Result sweep = Wormcalc(Example({"--sweep", "base-diameter=320:324:0.5", "--sweep",
                                               "backlash=0.1:0.3:0.1", "--csv", "--threads", threads}));
        EXPECT_EQ(sweep.status, 1) << "some rows fail";
        const std::size_t header = sweep.out.find('\n') + 1;
        EXPECT_EQ(sweep.out.substr(header), expected) << threads << " threads";
    }
    // JSON lines: the same outcomes, with the texts that made each.
    const Result json = Wormcalc(Example({"--sweep", "base-diameter=320:324:0.5", "--sweep", "backlash=0.1:0.3:0.1"}));
    const std::vector<std::string> objects = Lines(json.out);
    ASSERT_EQ(objects.size(), combinations.size());
    EXPECT_EQ(objects[4].rfind("{\"inputs\":{\"centre-distance\":\"200\",\"speed-ratio\":\"25\",\"teeth\":\"50\","
                               "\"starts\":\"2\",\"base-diameter\":\"320.5\",\"eccentricity\":\"0\","
                               "\"pitch-diameter\":\"78\",\"backlash\":\"0.2\",\"grinding-increment\":\"0.2\"},"
                               "\"lines\":[",
                               0),
              0u)
        << objects[4];
    EXPECT_EQ(objects[24].rfind("{\"error\":", 0), 0u) << objects[24];  // Db 324 > d2
}

TEST(ChecksAndTablesTest, SweepValuesAreExactDecimals) {
    const Result r = Wormcalc(Example({"--sweep", "base-diameter=126:134:0.01", "--csv"}));
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 802u);  // header and 801 values
    EXPECT_EQ(rows[1].substr(0, 16), "200,25,50,2,126,");
    EXPECT_EQ(rows[101].substr(0, 16), "200,25,50,2,127,");
    EXPECT_EQ(rows[451].substr(0, 18), "200,25,50,2,130.5,");
    EXPECT_EQ(rows[801].substr(0, 16), "200,25,50,2,134,");
    EXPECT_EQ(rows[2].substr(0, 19), "200,25,50,2,126.01,");
}

TEST(ChecksAndTablesTest, BadRangesAndOptionsAreRefusedBeforeAnyWork) {
    const std::vector<std::vector<std::string>> cases = {
        {"--sweep", "base-diameter=120:140:0"},
        {"--sweep", "base-diameter=120:140:-1"},
        {"--sweep", "base-diameter=140:120:1"},
        {"--sweep", "centre-distance=200:200.00000000000001:0.00000000000001"},
        // 9,999,001 designs alone would do; twice that is refused.
        {"--sweep", "base-diameter=1:10000:0.001", "--sweep", "backlash=0.1:0.2:0.1"},
        {"--sweep", "teeth=40:50:0.5"},
        {"--sweep", "gear=1:2:1"},
        {"--sweep", "base-diameter"},
        {"--sweep", "base-diameter=1e2:2e2:1"},
        {"--threads", "2"},
        {"--sweep", "base-diameter=120:140:1", "--threads", "0"},
        {"--sweep", "base-diameter=120:140:1", "--threads", "two"},
        {"--sweep", "base-diameter=120:140:1", "--jsonl"},
        {"--sweep", "base-diameter=120:140:1", "--check"},
        {"--check", "--csv"},
        {"--csv", "--json"},
        {"--csv=yes"},
    };
    for (const auto& extra : cases) {
        const Result r = Wormcalc(Example(extra));
        EXPECT_EQ(r.status, 2) << extra[0] << " " << (extra.size() > 1 ? extra[1] : "");
        EXPECT_EQ(r.out, "") << "no work before the refusal";
        EXPECT_EQ(r.err.rfind("wormcalc: ", 0), 0u) << r.err;
    }
    EXPECT_NE(Wormcalc(Example({"--sweep", "base-diameter=120:140:0"})).err.find("must be greater than 0"),
              std::string::npos);
    EXPECT_NE(Wormcalc(Example({"--sweep", "base-diameter=1:10000:0.001", "--sweep", "backlash=0.1:0.2:0.1"}))
                  .err.find("more than 10000000 combinations"),
              std::string::npos);
}

TEST(ChecksAndTablesTest, BatchAsCsvKeepsOneRowPerLine) {
    const std::string input =
        R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78"})"
        "\n"
        "not json\n"
        R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "400", "pitch-diameter": "78"})"
        "\n";
    const Result r = Wormcalc({"--jsonl", "--csv", "--coefficients", kExampleCoefficients}, input);
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 4u) << r.out;
    EXPECT_EQ(rows[1].rfind("200,25,50,2,130,0,78,0.3,0.2,322,", 0), 0u);
    EXPECT_EQ(rows[2], std::string(43, ',') + "error:unreadable-line");
    EXPECT_EQ(rows[3].substr(rows[3].rfind(',') + 1), "error:pressure-angle-undefined");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("wormcalc: line 2: ", 0), 0u) << r.err;

    const Result checks = Wormcalc({"--jsonl", "--check", "--coefficients", kExampleCoefficients}, input);
    EXPECT_EQ(Lines(checks.out).at(0), "{\"checks\":[]}");
    EXPECT_EQ(
        Lines(checks.out).at(2).rfind("{\"checks\":[{\"severity\":\"error\",\"code\":\"pressure-angle-undefined\"", 0),
        0u);
}

}  // namespace

// Outputs for the shop: refused for a design whose checks find an error
// unless --force is given, and then handed the findings for their mark. A
// warning alone never refuses.
TEST(ChecksAndTablesTest, OutputsOfADesignWithErrorsNeedForce) {
    struct Written {
        int sheets = 0, drawings = 0;
        bool errorsHandedOn = false;
    };
    const struct {
        const char* what;
        std::vector<std::string> extra;
        int status;
        bool written;
    } cases[] = {
        {"a warning only", {"--base-diameter", "125"}, 0, true},
        {"errors", {"--pitch-diameter", "5"}, 1, false},
        {"errors, forced", {"--pitch-diameter", "5", "--force"}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Written written;
        WormcalcServices services;
        services.writeSheet = [&](SheetKind, const DesignInputs&, const TWormDesign&,
                                  const std::vector<Finding>& findings, const std::string&) {
            ++written.sheets;
            written.errorsHandedOn = HasErrors(findings);
        };
        services.writeDrawing = [&](const DrawingRequest&, const CalculatedDesign& design, const std::string&) {
            ++written.drawings;
            EXPECT_EQ(design.hasErrors(), written.errorsHandedOn);
        };
        std::vector<std::string> args = Example(c.extra);
        for (const char* output : {"--export-worm", "--drawing-wheel", "--report"}) {
            args.push_back(output);
            args.push_back(std::string("/nonexistent/") + output + (output[2] == 'e' ? ".xlsx" : ".pdf"));
        }
        const WormcalcResult r = Wormcalc(args, "", services);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(written.sheets, c.written ? 1 : 0);
        EXPECT_EQ(written.drawings, c.written ? 2 : 0);
        if (!c.written) {
            EXPECT_EQ(
                Lines(r.err).back(),
                "wormcalc: the design checks found 2 errors (generating-plane-angle-not-positive, "
                "grinding-wheel-angle-not-positive): no sheet, drawing, report or solid is written; --force writes "
                "them, marked \"设计检查有错误\"");
        }
    }
}
