// wormcalc end to end through RunWormcalc: options, outputs, batch mode,
// suggestions, design files and sheets through stand-in services, and the
// usage errors of the tool itself.
#include <gtest/gtest.h>

#include <sstream>

#include "calc/testing/worked_example.h"
#include "cli/tests/wormcalc_run.h"

using namespace wormgear;

namespace {

using Result = WormcalcResult;

TEST(WormcalcTest, TextOutputShowsThePanelsAsTheWindowDoes) {
    const Result r = Wormcalc(Example());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string expectedStart = "  蜗杆参数  \n322-----蜗轮分度圆直径\n0-----E值\n168.728-----蜗杆齿根圆弧半径\n";
    EXPECT_EQ(r.out.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(r.out.find("\n  滚刀参数  \n153.916-----刀体齿顶圆弧半径\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n蜗杆修形（一般型传动）  \n11.038----修形砂轮角\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("130.518----修形主基圆直径\n"), std::string::npos);
}

TEST(WormcalcTest, LanguageEnglishWritesTheSamePanelsInEnglish) {
    const Result r = Wormcalc(Example({"--language", "en"}));
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string expectedStart =
        "  Worm parameters  \n322-----wheel pitch diameter\n0-----E value\n168.728-----worm root arc radius\n";
    EXPECT_EQ(r.out.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(r.out.find("\n  Hob parameters  \n153.916-----hob tip arc radius\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nWorm modification (general)  \n11.038----grinding wheel angle\n"), std::string::npos);
    EXPECT_NE(r.out.find("10.979------wheel measured thickness\n"), std::string::npos);
    // The same run without the option, and with zh: the Chinese texts.
    EXPECT_EQ(Wormcalc(Example({"--language", "zh"})).out, Wormcalc(Example()).out);
    EXPECT_EQ(Wormcalc(Example()).out.rfind("  蜗杆参数  \n", 0), 0u);
}

TEST(WormcalcTest, LanguageEnglishMessagesAndChecks) {
    const Result ratio = Wormcalc(Example({"--speed-ratio", "24", "--language=en"}));
    EXPECT_EQ(ratio.status, 1);
    EXPECT_EQ(ratio.err.rfind("wormcalc: Incorrect input......(speed ratio = teeth/starts)\nDesign checks\nerror: ", 0),
              0u)
        << ratio.err;
    const Result suggest = Wormcalc(
        {"--suggest", "--centre-distance", "x", "--coefficients", kExampleCoefficients, "--language", "en"});
    EXPECT_EQ(suggest.err, "wormcalc: A number is not valid, please check.........\n");
    const Result json = Wormcalc({"--suggest", "--json", "--centre-distance", "450", "--coefficients",
                                  kExampleCoefficients, "--language", "en"});
    EXPECT_NE(json.out.find("\"name\":\"main base circle diameter\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"name\":\"worm pitch diameter factor\""), std::string::npos) << json.out;
}

TEST(WormcalcTest, LanguageMustBeZhOrEn) {
    for (const char* language : {"fr", "", "EN", "english"}) {
        const Result r = Wormcalc(Example({"--language", language}));
        EXPECT_EQ(r.status, 2) << language;
        EXPECT_NE(r.err.find("--language takes zh or en"), std::string::npos) << r.err;
    }
}

TEST(WormcalcTest, LanguageEnglishIsHandedToTheFilesBeforeTheyAreWritten) {
    WormcalcServices services;
    std::vector<std::string> calls;
    services.useLanguage = [&](Language language) {
        calls.push_back(language == Language::English ? "english" : "chinese");
        return English();
    };
    services.writeSheet = [&](SheetKind, const DesignInputs&, const TWormDesign&, const std::vector<Finding>&,
                              const std::string&) { calls.push_back("sheet"); };
    EXPECT_EQ(Wormcalc(Example({"--language", "en", "--export-worm", "w.xlsx"}), "", services).status, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"english", "sheet"}));
    calls.clear();
    EXPECT_EQ(Wormcalc(Example({"--export-worm", "w.xlsx"}), "", services).status, 0);
    EXPECT_EQ(calls, std::vector<std::string>{"sheet"}) << "Chinese needs nothing done";
    // English files that cannot be made: said, and nothing written.
    calls.clear();
    services.useLanguage = [](Language) -> Translate { throw std::runtime_error("the English texts are missing"); };
    const Result r = Wormcalc(Example({"--language", "en", "--export-worm", "w.xlsx"}), "", services);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "wormcalc: the English texts are missing\n");
    EXPECT_TRUE(calls.empty());
}

TEST(WormcalcTest, TheDefaultsAreWrittenWithTheUsersSeparator) {
    // A decimal-comma user gives only the nine inputs, as in the window: the
    // backlash and the grinding increment default to 0,3 and 0,2.
    std::istringstream in;
    std::ostringstream out, err;
    std::vector<std::string> args = Example();
    const int status = RunWormcalc(args, in, out, err, {}, ',');
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_NE(out.str().find("168,728-----蜗杆齿根圆弧半径\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("8,986-----滚刀测量齿厚\n"), std::string::npos) << "the default backlash, 0,3";

    std::istringstream batch(
        "{\"centre-distance\":\"200\",\"speed-ratio\":\"25\",\"teeth\":\"50\",\"starts\":\"2\","
        "\"base-diameter\":\"130\",\"pitch-diameter\":\"78\"}\n");
    std::ostringstream batchOut, batchErr;
    args = {"--jsonl", "--coefficients", kExampleCoefficients};
    EXPECT_EQ(RunWormcalc(args, batch, batchOut, batchErr, {}, ','), 0) << batchOut.str();
    EXPECT_EQ(batchOut.str().find("\"error\""), std::string::npos) << batchOut.str();
}

TEST(WormcalcTest, JsonHasAll34LinesInPanelOrder) {
    const Result r = Wormcalc(Example({"--json"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("{\"lines\":[{\"label\":\"Label23\",\"symbol\":\"d2\",\"name\":\"蜗轮分度圆直径\",\"unit\":"
                          "\"mm\",\"value\":322,\"text\":\"322-----蜗轮分度圆直径\"},",
                          0),
              0u)
        << r.out;
    std::size_t count = 0;
    for (std::size_t at = r.out.find("\"label\""); at != std::string::npos; at = r.out.find("\"label\"", at + 1))
        ++count;
    EXPECT_EQ(count, 34u);
    EXPECT_NE(r.out.find("{\"label\":\"Label52\",\"symbol\":\"Dbm\",\"name\":\"修形主基圆直径\",\"unit\":\"mm\","
                         "\"value\":130.518,\"text\":\"130.518----修形主基圆直径\"}],\"checks\":[]}\n"),
              std::string::npos);
}

TEST(WormcalcTest, RoundTeethAndFieldOptionsWithEquals) {
    const Result r = Wormcalc(Example({"--round-teeth", "--json", "--backlash=0.30"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\"92-----蜗杆工作长度\""), std::string::npos);
    EXPECT_NE(r.out.find("\"38-----蜗轮齿顶圆弧半径\""), std::string::npos);
}

TEST(WormcalcTest, FailureReportsMessageAndTheLinesWrittenBefore) {
    const Result r = Wormcalc(Example({"--grinding-increment", "", "--json"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("{\"error\":\"您输入的内容不符合要求......（只能输入合法数字，且不能为空）\",\"lines\":[", 0),
              0u);
    EXPECT_NE(r.out.find("Label49"), std::string::npos);
    EXPECT_EQ(r.out.find("Label41"), std::string::npos);

    const Result ratio = Wormcalc(Example({"--speed-ratio", "24"}));
    EXPECT_EQ(ratio.status, 1);
    EXPECT_EQ(ratio.out, "");
    // The message, then its cause beneath it.
    EXPECT_EQ(
        ratio.err.rfind("wormcalc: 输入参数不正确......（速比=齿数/头数）\n设计检查\n错误：速比 i = 24 与齿数/头数", 0),
        0u)
        << ratio.err;
}

TEST(WormcalcTest, UsageErrorsExitTwoWithAMessage) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"--centre-distance"},
        {"--coefficients", "1,2,3"},
        {"--coefficients", "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,x"},
        {"--coefficients", "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0,9"},
        {"--json", "--jsonl"},
        {"--round-teeth=yes"},
        {"a.cqb", "b.cqb"},
        {"--centre-distance", "200"},  // no coefficient store in this build
    };
    for (const auto& args : cases) {
        const Result r = Wormcalc(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.err.rfind("wormcalc: ", 0), 0u) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const Result help = Wormcalc({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--jsonl"), std::string::npos);
}

TEST(WormcalcTest, CoefficientsThatAreNoFiniteNumbersAreUsageErrors) {
    for (const char* refused : {"nan", "inf", "-inf", "infinity", "NAN", "-nan"}) {
        std::string list = "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,";
        list += refused;
        const Result r = Wormcalc(Example({"--coefficients", list}));
        EXPECT_EQ(r.status, 2) << refused;
        EXPECT_NE(r.err.find("is not a finite number (c[14])"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    // The same in a batch line.
    const Result batch = Wormcalc(
        {"--jsonl"},
        R"({"centre-distance": "200", "coefficients": ["nan","1.2","0.7","0.45","0","0.55","2","0.5","0.2","0.2","0.45","1","0.5","1","0.9"]})"
        "\n");
    EXPECT_EQ(batch.status, 2);
    EXPECT_NE(batch.out.find("is not a finite number (c[0])"), std::string::npos) << batch.out;
}

TEST(WormcalcTest, AnUnreadableCoefficientStoreIsAFileFailureNotAUsageError) {
    WormcalcServices services;
    services.defaultCoefficients = []() -> TCoefficientTable { throw std::runtime_error("数据库正被其他程序锁定"); };
    std::vector<std::string> args = Example();
    args.resize(args.size() - 2);  // no --coefficients: the store is read
    Result r = Wormcalc(args, "", services);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "wormcalc: cannot read the coefficients (db1.mdb): 数据库正被其他程序锁定\n");
    r = Wormcalc({"--suggest", "--centre-distance", "450"}, "", services);
    EXPECT_EQ(r.status, 1);
    r = Wormcalc({"--jsonl"},
                 R"({"centre-distance": "200"})"
                 "\n",
                 services);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("数据库正被其他程序锁定"), std::string::npos) << r.out;
}

TEST(WormcalcTest, BatchGivesOneResultPerLine) {
    const std::string input =
        R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78"})"
        "\n\n"
        R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78", "round-teeth": true})"
        "\n"
        "not json\n"
        R"({"centre-distance": "200", "speed-ratio": "24", "teeth": "50", "starts": "2"})"
        "\n";
    const Result r = Wormcalc({"--jsonl", "--coefficients", kExampleCoefficients}, input);
    std::istringstream lines(r.out);
    std::vector<std::string> out;
    for (std::string line; std::getline(lines, line);) out.push_back(line);
    ASSERT_EQ(out.size(), 4u) << r.out;
    EXPECT_NE(out[0].find("101-----蜗杆工作长度"), std::string::npos);
    EXPECT_NE(out[1].find("92-----蜗杆工作长度"), std::string::npos);
    EXPECT_EQ(out[2].rfind("{\"error\":\"line 4: ", 0), 0u) << out[2];
    EXPECT_EQ(out[3].rfind("{\"error\":\"输入参数不正确......（速比=齿数/头数）\",\"lines\":[],\"checks\":[{", 0), 0u)
        << out[3];
    EXPECT_EQ(r.status, 2);
}

TEST(WormcalcTest, BatchCoefficientsPerLine) {
    const Result r = Wormcalc(
        {"--jsonl"},
        R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78", "coefficients": ["0.875","1.2","0.7","0.45","0","0.55","2","0.5","0.2","0.2","0.45","1","0.5","1","0.9"]})"
        "\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"337-----蜗轮最大外圆\""), std::string::npos);
}

struct SuggestCase {
    const char* centre;
    const char* text;  // the beginning of the output
    const char* err;   // the window's message, once for each handler that failed
    int status;
};

TEST(WormcalcTest, Suggestions) {
    const std::string message = "wormcalc: 数字输入有误,请核实.........\n";
    const SuggestCase cases[] = {
        {"450", "Edit5\t292\nLabel46\t0.648888888888889\nEdit7\t159.358\nLabel47\t0.759998473879494\n", "", 0},
        {"710", "Edit5\t461\nLabel46\t0.649295774647887\nEdit7\t", "", 0},
        {"1e16", "Edit5\t6.5E15\nLabel46\t0.65\n", "", 0},  // the proposal written as every number is
        {"0", "Edit5\t0\nEdit7\t0\n", "twice", 1},
        {"4a", "", "once", 1},
        {"", "", "", 0},
    };
    for (const auto& c : cases) {
        const Result r = Wormcalc({"--suggest", "--centre-distance", c.centre, "--coefficients", kExampleCoefficients});
        EXPECT_EQ(r.out.substr(0, std::string(c.text).size()), c.text) << c.centre;
        const std::string err = c.err == std::string("twice")  ? message + message
                                : c.err == std::string("once") ? message
                                                               : "";
        EXPECT_EQ(r.err, err) << c.centre;
        EXPECT_EQ(r.status, c.status) << c.centre;
    }
    const Result json = Wormcalc(
        {"--suggest", "--json", "--centre-distance", "100", "--coefficients", kExampleCoefficients});
    EXPECT_EQ(
        json.out,
        "{\"lines\":["
        "{\"label\":\"Edit5\",\"symbol\":\"Db\",\"name\":\"主基圆直径\",\"unit\":\"mm\",\"value\":65,\"text\":\"65\"},"
        "{\"label\":\"Label46\",\"symbol\":\"Db/A\",\"name\":\"主基圆直径系数\",\"unit\":\"\",\"value\":0.65,"
        "\"text\":\"0.65\"},"
        "{\"label\":\"Edit7\",\"symbol\":\"d1\",\"name\":\"蜗杆分度圆直径\",\"unit\":\"mm\",\"value\":42.738,"
        "\"text\":\"42.738\"},"
        "{\"label\":\"Label47\",\"symbol\":\"d1/A^c[0]\",\"name\":\"蜗杆分度圆直径系数\",\"unit\":\"\","
        "\"value\":0.760002845253761,\"text\":\"0.760002845253761\"}]}\n");
    // A failing handler: the message and how often it came, with the values shown before it.
    const Result failed = Wormcalc(
        {"--suggest", "--json", "--centre-distance", "0", "--coefficients", kExampleCoefficients});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "");
    EXPECT_EQ(failed.out.rfind(
                  "{\"error\":\"数字输入有误,请核实.........\",\"messages\":2,\"lines\":[{\"label\":\"Edit5\"", 0),
              0u)
        << failed.out;
}

TEST(WormcalcTest, DesignFileTextsWithOverridesAndStoreCoefficients) {
    WormcalcServices services;
    services.defaultCoefficients = [] { return WorkedExampleCoefficients(); };
    services.readDesignFile = [](const std::string& path) {
        if (path != "a.cqb") throw std::runtime_error("no such file");
        DesignInputs inputs = WorkedExampleInputs();
        inputs.WormAccuracy = inputs.HobAccuracy = inputs.EntranceRelief = inputs.ExitRelief = "";
        return inputs;
    };
    std::vector<std::tuple<SheetKind, std::string, std::string>> written;
    services.writeSheet = [&](SheetKind s, const DesignInputs& f, const TWormDesign& d, const std::vector<Finding>&,
                              const std::string& path) {
        written.push_back({s, path, f.CentreDistance + "/" + d.GeneratingPlaneAngleText});
    };
    Result r = Wormcalc({"a.cqb", "--json"}, "", services);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"322-----蜗轮分度圆直径\""), std::string::npos);

    r = Wormcalc({"a.cqb", "--pitch-diameter", "80", "--export-hob", "h.xlsx", "--export-wheel=w"}, "", services);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("320-----蜗轮分度圆直径"), std::string::npos);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(std::get<0>(written[0]), SheetKind::Hob);
    EXPECT_EQ(std::get<1>(written[1]), "w");
    EXPECT_EQ(std::get<2>(written[0]).substr(0, 4), "200/");

    r = Wormcalc({"missing.cqb"}, "", services);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no such file"), std::string::npos);
}

TEST(WormcalcTest, FailingCalculationWritesNoSheet) {
    WormcalcServices services;
    bool wrote = false;
    services.writeSheet = [&](SheetKind, const DesignInputs&, const TWormDesign&, const std::vector<Finding>&,
                              const std::string&) { wrote = true; };
    const Result r = Wormcalc(Example({"--teeth", "", "--export-worm", "x.xlsx"}), "", services);
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(wrote);
}

// The drawings and the report through a stand-in writer that records what it is asked for.
struct DrawingCall {
    std::optional<DrawingKind> kind;
    std::string path, designFile, shownLength;
};

WormcalcServices RecordingDrawings(std::vector<DrawingCall>& calls) {
    WormcalcServices services;
    services.readDesignFile = [](const std::string&) { return WorkedExampleInputs(); };
    services.writeDrawing = [&calls](const DrawingRequest& r, const CalculatedDesign& d, const std::string& file) {
        calls.push_back({r.kind, r.path, file, d.shown(ResultId::WormWorkingLength)});
    };
    return services;
}

TEST(WormcalcTest, DrawingsAndTheReportCombineWithEachOtherAndADesignFile) {
    std::vector<DrawingCall> calls;
    const Result r = Wormcalc(
        {"pair.cqb", "--coefficients", kExampleCoefficients, "--drawing-worm", "w.dxf", "--report=r.PDF",
         "--drawing-hob", "h.svg", "--drawing-wheel", "x/wh.pdf", "--round-teeth"},
        "", RecordingDrawings(calls));
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].kind, DrawingKind::Worm);
    EXPECT_EQ(calls[1].kind, std::nullopt);  // the report
    EXPECT_EQ(calls[1].path, "r.PDF");
    EXPECT_EQ(calls[2].kind, DrawingKind::Hob);
    EXPECT_EQ(calls[3].kind, DrawingKind::Wheel);
    for (const DrawingCall& call : calls) {
        EXPECT_EQ(call.designFile, "pair.cqb");
        EXPECT_EQ(call.shownLength, "92");  // the design as calculated, whole enveloped teeth
    }
}

TEST(WormcalcTest, AFailedCalculationDrawsNothing) {
    std::vector<DrawingCall> calls;
    const Result r = Wormcalc(Example({"--speed-ratio", "24", "--drawing-worm", "w.dxf", "--report", "r.pdf"}), "",
                              RecordingDrawings(calls));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(calls.empty());
    const Result late = Wormcalc(Example({"--grinding-increment", "x", "--drawing-hob", "h.dxf"}), "",
                                 RecordingDrawings(calls));
    EXPECT_EQ(late.status, 1);
    EXPECT_TRUE(calls.empty());
}

TEST(WormcalcTest, AFileThatCannotBeWrittenEndsTheRunWithItsMessage) {
    WormcalcServices services;
    int attempts = 0;
    services.writeDrawing = [&](const DrawingRequest&, const CalculatedDesign&, const std::string&) {
        ++attempts;
        throw std::runtime_error("无法在目标文件夹中创建文件");
    };
    const Result r = Wormcalc(Example({"--drawing-worm", "/no/w.dxf", "--drawing-hob", "h.dxf"}), "", services);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(attempts, 1);
    EXPECT_NE(r.err.find("\"/no/w.dxf\" could not be written: 无法在目标文件夹中创建文件"), std::string::npos) << r.err;
}

TEST(WormcalcTest, DrawingFileNamesMustNameAFormat) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    std::vector<DrawingCall> calls;
    const Case kCases[] = {
        {{"--drawing-worm", "w.dxf"}, 0},
        {{"--drawing-worm", "W.DXF"}, 0},
        {{"--drawing-wheel", "w.Svg"}, 0},
        {{"--drawing-hob", "a.b/h.pdf"}, 0},
        {{"--report", "r.pdf"}, 0},
        {{"--drawing-worm", "w.txt"}, 2},
        {{"--drawing-worm", "w"}, 2},
        {{"--drawing-worm", "a.dxf/w"}, 2},
        {{"--drawing-hob", ""}, 2},
        {{"--drawing-wheel"}, 2},
        {{"--report", "r.dxf"}, 2},
        {{"--report", "r.svg"}, 2},
        {{"--suggest", "--drawing-worm", "w.dxf"}, 2},
    };
    for (const Case& c : kCases) {
        const Result r = Wormcalc(Example(c.args), "", RecordingDrawings(calls));
        EXPECT_EQ(r.status, c.status) << c.args.back() << " " << r.err;
        if (c.status == 2) {
            EXPECT_EQ(r.err.rfind("wormcalc: ", 0), 0u) << r.err;
        }
    }
    const Result batch = Wormcalc({"--jsonl", "--drawing-worm", "w.dxf"}, "", RecordingDrawings(calls));
    EXPECT_EQ(batch.status, 2);
}

TEST(WormcalcTest, OnlySvgPdfAndTheReportArePainted) {
    const std::pair<std::vector<std::string>, bool> kCases[] = {
        {{"--drawing-worm", "w.dxf"}, false}, {{"--drawing-worm", "w.dxf", "--drawing-hob", "h.DXF"}, false},
        {{"--drawing-wheel", "w.svg"}, true}, {{"--drawing-worm", "w.dxf", "--drawing-hob", "h.pdf"}, true},
        {{"--report", "r.pdf"}, true},        {{"--json"}, false},
        {{"--report", "r.txt"}, false},  // a usage error, reported without painting
    };
    for (const auto& [args, paints] : kCases) EXPECT_EQ(WormcalcPaints(Example(args)), paints) << args.back();
}

}  // namespace
