// wormcalc's habits as a command-line tool, through RunWormcalc: help,
// version, the end of options, the usage hint when nothing is given, the
// "wormcalc: " before every diagnostic, outputs that fail as a full disk
// does, the design file of --save-design, and the values of its JSON in a
// locale whose decimal separator is a comma.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "calc/fields.h"
#include "calc/testing/worked_example.h"
#include "cli/tests/wormcalc_run.h"

using namespace wormgear;

namespace {

using Result = WormcalcResult;
const char* const kCoefficients = kExampleCoefficients;

// A design file reader that records the names it is asked for.
WormcalcServices RecordingReader(std::vector<std::string>& read) {
    WormcalcServices services;
    services.readDesignFile = [&read](const std::string& path) {
        read.push_back(path);
        return WorkedExampleInputs();
    };
    services.readDesignStream = [&read](std::istream&) {
        read.push_back("(standard input)");
        return WorkedExampleInputs();
    };
    services.defaultCoefficients = [] { return WorkedExampleCoefficients(); };
    return services;
}

TEST(ConventionsTest, ArgumentsAsAGnuToolTakesThem) {
    const std::string help = Wormcalc({"--help"}).out;
    ASSERT_EQ(help.rfind("Usage: wormcalc [OPTION]... [DESIGN.cqb]\n", 0), 0u) << help;
    const std::string version = std::string("wormcalc (wormgear) ") + WORMGEAR_VERSION + "\n";
    const std::string nothing =
        "wormcalc: nothing to calculate: give the fields as options, a design file, --jsonl "
        "or --sweep\nUsage: wormcalc [OPTION]... [DESIGN.cqb]\nTry 'wormcalc --help' for "
        "more information.\n";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;         // the whole output, or its first line when it ends in "..."
        std::string err;         // the beginning of the error stream ("" for none)
        std::string designFile;  // the design file read, "" for none
    };
    const Case cases[] = {
        // Help and version, short and long, whatever else is asked.
        {{"-h"}, 0, help, "", ""},
        {{"--help"}, 0, help, "", ""},
        {{"--json", "--jsonl", "--help"}, 0, help, "", ""},
        {{"-V"}, 0, version + "...", "", ""},
        {{"--version"}, 0, version + "...", "", ""},
        {{"a.cqb", "--version"}, 0, version + "...", "", ""},
        {{"--help=all"}, 2, "", "wormcalc: --help takes no value\nTry 'wormcalc --help'", ""},
        {{"--version=1"}, 2, "", "wormcalc: --version takes no value\n", ""},
        {{"--bogus", "--help"}, 2, "", "wormcalc: unknown option \"--bogus\"\nTry 'wormcalc --help'", ""},
        // Short options other than -h and -V are unknown, not design files.
        {{"-x"}, 2, "", "wormcalc: unknown option \"-x\"\n", ""},
        {{"-hV"}, 2, "", "wormcalc: unknown option \"-hV\"\n", ""},
        // "--" ends the options: what follows is the design file, even "-h".
        {{"--", "-h"}, 0, "  蜗杆参数  ...", "", "-h"},
        {{"--json", "--", "--version"}, 0, "{\"lines\":[...", "", "--version"},
        {{"--", "a.cqb", "b.cqb"}, 2, "", "wormcalc: only one design file may be given (\"b.cqb\")", ""},
        // "-" is standard input wherever a file is read, also after "--";
        // "./-" is the file of that name. No file written is "-".
        {{"-"}, 0, "  蜗杆参数  ...", "", "(standard input)"},
        {{"--", "-"}, 0, "  蜗杆参数  ...", "", "(standard input)"},
        {{"./-"}, 0, "  蜗杆参数  ...", "", "./-"},
        {{"--jsonl", "-"}, 0, "", "", ""},
        {{"-", "--export-worm", "-"}, 2, "", "wormcalc: --export-worm -: standard output carries the results", ""},
        {{"-", "--drawing-hob=-"}, 2, "", "wormcalc: --drawing-hob -: standard output carries the results", ""},
        {{"-", "--report", "-"}, 2, "", "wormcalc: --report -: standard output carries the results", ""},
        {{"-", "--save-design", "-"}, 2, "", "wormcalc: --save-design -: standard output carries the results", ""},
        // Nothing to calculate: how to call it, on the error stream.
        {{}, 2, "", nothing, ""},
        {{"--json"}, 2, "", nothing, ""},
        {{"--round-teeth", "--coefficients", kCoefficients}, 2, "", nothing, ""},
        {{"--suggest"}, 2, "", nothing, ""},
        {{"--check", "--csv"}, 2, "", "wormcalc: --check and --csv exclude each other\n", ""},
        // One field is enough: the others keep their defaults.
        {{"--centre-distance", "200"}, 1, "", "wormcalc: 您输入的内容不符合要求", ""},
        {{"--sweep", "teeth=50:51:1", "--csv"}, 1, "centre-distance,speed-ratio,...", "", ""},
        {{"--jsonl"}, 0, "", "", ""},
        // Every diagnostic begins with the program's name.
        {Example({"--speed-ratio", "24"}), 1, "", "wormcalc: 输入参数不正确......（速比=齿数/头数）\n设计检查\n", ""},
        {{"--suggest", "--centre-distance", "4a", "--coefficients", kCoefficients},
         1,
         "",
         "wormcalc: 数字输入有误,请核实.........\n",
         ""},
        {{"--save-design"}, 2, "", "wormcalc: --save-design needs a value\n", ""},
        {{"--centre-distance", "1", "--save-design", ""},
         2,
         "",
         "wormcalc: --save-design needs a file name, not \"\"",
         ""},
        {{"--centre-distance", "1", "--save-design", "designs/"},
         2,
         "",
         "wormcalc: --save-design needs a file name",
         ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> read;
        const Result r = Wormcalc(c.args, "", RecordingReader(read));
        std::string trace;
        for (const std::string& arg : c.args) trace += "[" + arg + "] ";
        SCOPED_TRACE(trace);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.out.size() > 3 && c.out.compare(c.out.size() - 3, 3, "...") == 0) {
            const std::string start = c.out.substr(0, c.out.size() - 3);
            EXPECT_EQ(r.out.substr(0, start.size()), start);
        } else {
            EXPECT_EQ(r.out, c.out);
        }
        if (c.err.empty()) {
            EXPECT_EQ(r.err, "");
        } else {
            EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
        }
        EXPECT_EQ(read, c.designFile.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.designFile});
    }
}

TEST(ConventionsTest, HelpNamesEveryOptionOnceWithItsArgument) {
    const std::string help = Wormcalc({"-h"}).out;
    for (const char* line :
         {"\n  -h, --help ", "\n  -V, --version ", "\n  --save-design FILE ", "\n  --  ", "\n  --json ",
          "\"value\": 322", "\"unit\": \"mm\"", "\"symbol\": \"d2\"", "\n  --suggest "}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
}

// The field options' lines: every field of the table, in its order, with the
// window's control and default, "--name TEXT" as help2man and the bash
// completion read it.
TEST(ConventionsTest, HelpListsTheFieldsOfTheTable) {
    const std::string help = Wormcalc({"--help"}).out;
    const DesignInputs defaults;
    std::size_t previous = 0;
    for (const DesignFieldDescription& field : DesignFields()) {
        const std::string option = std::string("\n  --") + field.option + " TEXT";
        const std::size_t at = help.find(option);
        ASSERT_NE(at, std::string::npos) << option;
        EXPECT_GT(at, previous) << option << " out of the fields' order";
        previous = at;
        const std::size_t end = help.find(")\n", at);
        const std::string line = help.substr(at, end - at);
        const std::string control = "(Edit" + std::to_string(static_cast<int>(field.field) + 1);
        EXPECT_NE(line.find(FieldName(field, English())), std::string::npos) << line;
        const std::string& byDefault = FieldText(defaults, field.field);
        const std::string ending = byDefault.empty() ? control : control + ", default " + byDefault;
        EXPECT_TRUE(line.size() >= ending.size() &&
                    line.compare(line.size() - ending.size(), ending.size(), ending) == 0)
            << line << " does not end with " << ending;
    }
}

// A stream that takes `room` bytes and then fails as a full disk does,
// leaving ENOSPC in errno as the failed write would.
class FullDisk : public std::streambuf {
 public:
    explicit FullDisk(std::size_t room) : room_(room) {}
    std::size_t taken() const { return taken_; }

 protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (taken_ == room_) {
            errno = ENOSPC;
            return traits_type::eof();
        }
        ++taken_;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        const std::size_t fits = std::min(room_ - taken_, static_cast<std::size_t>(n));
        taken_ += fits;
        if (fits < static_cast<std::size_t>(n)) errno = ENOSPC;
        return static_cast<std::streamsize>(fits);
    }

 private:
    std::size_t room_;
    std::size_t taken_ = 0;
};

TEST(ConventionsTest, AnOutputThatCannotBeWrittenIsAFailure) {
    // The batch of a hundred designs, so that the full disk is met in the middle.
    std::string batch;
    for (int n = 0; n < 100; ++n)
        batch += R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", )"
                 R"("base-diameter": "130", "pitch-diameter": "78"})"
                 "\n";
    const std::vector<std::vector<std::string>> cases = {
        Example(),
        Example({"--json"}),
        Example({"--csv"}),
        Example({"--check", "--base-diameter", "400"}),
        {"--help"},
        {"--version"},
        {"--suggest", "--json", "--centre-distance", "450", "--coefficients", kCoefficients},
        {"--jsonl", "--coefficients", kCoefficients},
        {"--jsonl", "--csv", "--coefficients", kCoefficients},
        Example({"--sweep", "base-diameter=120:140:0.01", "--threads", "2"}),
    };
    const std::string expected = std::string("wormcalc: the output could not be written: ") + std::strerror(ENOSPC) +
                                 "\n";
    for (const auto& args : cases) {
        for (std::size_t room : {std::size_t{0}, std::size_t{100}}) {
            SCOPED_TRACE(args[0] + " " + args.back() + ", room " + std::to_string(room));
            std::istringstream in(batch);
            FullDisk disk(room);
            std::ostream out(&disk);
            std::ostringstream err;
            const int status = RunWormcalc(args, in, out, err, {}, '.');
            EXPECT_EQ(status, 1);
            EXPECT_EQ(err.str(), expected);
            // A batch stops at the first failed write instead of calculating the rest for nothing.
            if (args[0] == "--jsonl") {
                EXPECT_FALSE(in.eof());
            }
        }
    }
}

TEST(ConventionsTest, SaveDesignWritesTheTextsAsTheyAreAlsoWhenTheyDoNotCalculate) {
    struct Saved {
        DesignInputs texts;
        std::string path;
    };
    std::vector<Saved> saved;
    WormcalcServices services;
    services.readDesignFile = [](const std::string&) { return WorkedExampleInputs(); };
    services.writeDesign = [&saved](const DesignInputs& texts, const std::string& path) {
        saved.push_back({texts, path});
    };
    services.writeSheet = [](SheetKind, const DesignInputs&, const TWormDesign&, const std::vector<Finding>&,
                             const std::string&) {};

    // Texts from a design file with an option over one of them: the thirteen as the calculation saw them.
    Result r = Wormcalc(
        {"gear.cqb", "--pitch-diameter", "80", "--save-design", "gear-80", "--coefficients", kCoefficients, "--json"},
        "", services);
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(saved.size(), 1u);
    DesignInputs expected = WorkedExampleInputs();
    expected.WormPitchDiameter = "80";
    for (const DesignFieldDescription& field : DesignFields())
        EXPECT_EQ(saved[0].texts.*field.text, expected.*field.text) << field.option;
    EXPECT_EQ(saved[0].path, "gear-80");

    // A design that does not calculate is saved all the same, as the window saves it, and the run fails.
    r = Wormcalc(Example({"--teeth", "fifty", "--save-design=bad.cqb", "--export-worm", "w.xlsx"}), "", services);
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[1].texts.WheelTeeth, "fifty");
    EXPECT_EQ(saved[1].texts.Backlash, "0.3");  // the window's default

    // Only with one design of its own.
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--jsonl", "--save-design", "a"},
             {"--suggest", "--centre-distance", "200", "--save-design", "a"},
             Example({"--sweep", "teeth=50:52:1", "--save-design", "a"}),
         }) {
        r = Wormcalc(args, "", services);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.err.rfind("wormcalc: ", 0), 0u);
    }
    EXPECT_EQ(saved.size(), 2u);

    // A file that cannot be written: its name and the reason, status 1.
    services.writeDesign = [](const DesignInputs&, const std::string&) {
        throw std::runtime_error("无法在目标文件夹中创建文件");
    };
    r = Wormcalc(Example({"--save-design", "/no/such/folder/x"}), "", services);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "wormcalc: the design file \"/no/such/folder/x\" could not be written: 无法在目标文件夹中创建文件\n");
    r = Wormcalc(Example({"--save-design", "x"}));  // a build without the writer
    EXPECT_EQ(r.status, 2);
}

TEST(ConventionsTest, JsonValuesUsePointsWhereTheTextsUseTheUsersSeparator) {
    // Calculated in a locale whose separator is ',': the defaults typed as there.
    const Result r = Wormcalc(Example({"--backlash", "0,3", "--grinding-increment", "0,2", "--json"}), "", {}, ',');
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"value\":168.728,\"text\":\"168,728-----蜗杆齿根圆弧半径\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"value\":11.038,\"text\":\"11,038----修形砂轮角\""), std::string::npos);
    EXPECT_EQ(r.out.find("\"value\":168,728"), std::string::npos);

    const Result suggest = Wormcalc(
        {"--suggest", "--json", "--centre-distance", "450", "--coefficients", kCoefficients}, "", {}, ',');
    EXPECT_NE(suggest.out.find("\"value\":0.648888888888889,\"text\":\"0,648888888888889\""), std::string::npos)
        << suggest.out;

    // A sweep's inputs: numbers with '.', other texts as typed.
    const Result sweep = Wormcalc(Example({"--backlash", "0,3", "--grinding-increment", "0,2", "--eccentricity", "1,5x",
                                           "--sweep", "base-diameter=130:130.5:0.5"}),
                                  "", {}, ',');
    EXPECT_NE(sweep.out.find("\"inputs\":{\"centre-distance\":\"200\",\"speed-ratio\":\"25\",\"teeth\":\"50\","
                             "\"starts\":\"2\",\"base-diameter\":\"130.5\",\"eccentricity\":\"1,5x\","
                             "\"pitch-diameter\":\"78\",\"backlash\":\"0.3\",\"grinding-increment\":\"0.2\"}"),
              std::string::npos)
        << sweep.out;
}

TEST(ConventionsTest, ProgramConstantsInTheJsonNeedNoEscape) {
    // The line objects write labels, symbols, names and units as they are.
    auto plain = [](std::string_view text) {
        for (unsigned char c : text) {
            if (c < 0x20 || c == '"' || c == '\\') return false;
        }
        return true;
    };
    for (const ResultDescription& result : Results()) {
        EXPECT_TRUE(plain(result.label) && plain(result.symbol) && plain(result.name()) && plain(result.unit))
            << result.label;
    }
    for (const DesignFieldDescription& field : DesignFields())
        EXPECT_TRUE(plain(field.symbol) && plain(field.name) && plain(field.unit)) << field.option;
}

}  // namespace
