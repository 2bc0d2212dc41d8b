// wormcalc: options, the text and JSON outputs, the batch mode, suggestions,
// sheet export and design files without a window.
#include "cli/wormcalc.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <iostream>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

#include "calc/checks.h"
#include "calc/fields.h"
#include "calc/suggestions.h"
#include "cli/line_reader.h"
#include "cli/meshing_output.h"
#include "cli/outcome_output.h"
#include "cli/sweep_mode.h"
#include "files/file_io.h"
#include "json/json.h"
#include "meshing/flank_grid.h"
#include "sweep/design_table.h"
#include "sweep/ordered_run.h"

namespace wormgear {

namespace {

const std::map<std::string, SheetKind> kExportOptions = {
    {"export-worm", SheetKind::Worm}, {"export-hob", SheetKind::Hob}, {"export-wheel", SheetKind::Wheel}};
const std::map<std::string, std::optional<DrawingKind>> kDrawingOptions = {{"drawing-worm", DrawingKind::Worm},
                                                                           {"drawing-wheel", DrawingKind::Wheel},
                                                                           {"drawing-hob", DrawingKind::Hob},
                                                                           {"report", std::nullopt}};

constexpr const char* kUsageLine = "Usage: wormcalc [OPTION]... [DESIGN.cqb]\n";

constexpr const char* kHelpBeforeFields =
    "Usage: wormcalc [OPTION]... [DESIGN.cqb]\n"
    "  or:  wormcalc --jsonl [OPTION]... [BATCH.jsonl]\n"
    "Calculates one enveloping worm gear design, as the window's Calculate does.\n"
    "\n"
    "Field options (each takes the field's text exactly as typed, numbers with the decimal\n"
    "separator of the user's locale, as the window reads them):\n";
// What follows the field options, whose lines HelpText makes from the fields table.
constexpr const char* kHelpAfterFields =
    "  --round-teeth             take the enveloped teeth as a whole number (取整数 ticked)\n"
    "  --coefficients C0,...,C14\n"
    "                            the fifteen rule coefficients, '.' as separator (default:\n"
    "                            db1.mdb beside the executable)\n"
    "\n"
    "Modes and outputs:\n"
    "  DESIGN.cqb                take the thirteen texts from a design file (.cqb, or a workbook\n"
    "                            a spreadsheet program saved: .xlsx, .ods, .xls); options override\n"
    "                            them; - reads the design file from standard input (at most 16 MiB)\n"
    "  --json                    one JSON object: {\"lines\": [LINE, ...], \"checks\": [CHECK, ...]},\n"
    "                            with \"error\": MESSAGE first when the calculation failed (the\n"
    "                            lines are then those written before it)\n"
    "  --check                   only the design checks (as text, or as {\"checks\": [...]} in JSON);\n"
    "                            exit 1 when one of them is an error\n"
    "  --csv                     a header row and one row per design: the field texts (by option\n"
    "                            name), the 34 result values (by symbol) and the worst check as\n"
    "                            severity:code\n"
    "  --sweep FIELD=FROM:TO:STEP\n"
    "                            every combination of the ranges (repeatable; exact decimal\n"
    "                            steps, at most 10000000 designs), as CSV rows or JSON lines in\n"
    "                            order, each JSON line with the field texts as \"inputs\"\n"
    "  --threads N               threads of a sweep or a batch (default: every core)\n"
    "  --jsonl                   batch: one JSON object per line of BATCH.jsonl, or of standard\n"
    "                            input without it or for -, keys as the long options; one JSON\n"
    "                            result per output line (or one CSV row with --csv); a line that\n"
    "                            is no such object, or is longer than 1 MiB, gets an error object\n"
    "                            (an error row) of its own and exit status 2\n"
    "  --suggest                 the proposals typing the centre distance gives (Edit5, Label46,\n"
    "                            Edit7, Label47); in JSON {\"lines\": [LINE, ...]} with the symbols\n"
    "                            Db, Db/A, d1 and d1/A^c[0]\n"
    "  --export-worm FILE, --export-hob FILE, --export-wheel FILE\n"
    "                            write the parameter sheet from its template\n"
    "  --drawing-worm FILE, --drawing-wheel FILE, --drawing-hob FILE\n"
    "                            write the drawing; FILE ends in .dxf, .svg or .pdf\n"
    "  --report FILE             write the calculation report; FILE ends in .pdf\n"
    "  --step-worm FILE          write the worm as a solid, STEP AP214 in mm: the blank less the\n"
    "                            tooth spaces, their flanks fitted to the generated flank within\n"
    "                            5 um (a fit beyond that is refused, nothing written)\n"
    "  --step-worm-modified FILE the same of the worm ground with the modification set-up\n"
    "  --meshing                 the meshing analysis instead of the panels: teeth in contact,\n"
    "                            the pitch point, the contact lines with their sliding speed,\n"
    "                            lubrication angle, entrainment speed and induced curvature, the\n"
    "                            limit lines and the modification along the thread; with --json\n"
    "                            one object (contact points in mm in the fixed frame: wheel axis\n"
    "                            z, worm axis through (A, 0, 0) along y); a design whose checks\n"
    "                            find an error gets no analysis (exit 1)\n"
    "  --input-speed RPM         the worm's speed for --meshing, 1/min (default 1500)\n"
    "  --flank-points FILE       write the measuring grid of both worm flanks of every start as\n"
    "                            CSV: x, y, z, nx, ny, nz in the worm's frame (mm, outward unit\n"
    "                            normals), flank, start\n"
    "  --force                   write the sheets, drawings, report and solids also when the design\n"
    "                            checks find an error (they are refused otherwise, exit 1);\n"
    "                            each then carries the mark \"设计检查有错误\"\n"
    "  --save-design FILE        write the thirteen texts as a design file, as the window's 保存\n"
    "                            does, also when they do not calculate; \".cqb\" is appended\n"
    "                            unless FILE already ends in .cqb (in capitals or not); the\n"
    "                            particulars of the design file read (图样资料) go with them\n"
    "  --language LANG           the language of the texts: zh (the default, whatever the\n"
    "                            locale) or en: English result names and lines, messages,\n"
    "                            checks, sheets, drawings and report\n"
    "  -h, --help                show this help and exit\n"
    "  -V, --version             show the version and exit\n"
    "  --                        end of options: what follows is the design file\n"
    "\n"
    "A FILE written is never -: standard output carries the results (write ./- for a file of\n"
    "that name).\n"
    "\n"
    "In JSON each LINE is one shown value, in the window's panel order, as\n"
    "{\"label\": \"Label23\", \"symbol\": \"d2\", \"name\": \"蜗轮分度圆直径\", \"unit\": \"mm\",\n"
    "\"value\": 322, \"text\": \"322-----蜗轮分度圆直径\"}. \"value\" is the number the text\n"
    "shows, as a JSON number; \"unit\" is \"mm\", \"°\" or \"\"; \"text\" is the line as the window\n"
    "shows it, in the user's notation. A CHECK is {\"severity\", \"code\", \"fields\", \"message\",\n"
    "\"suggestion\", \"values\"}. Numbers in JSON and CSV always use '.'. Both are UTF-8: bytes\n"
    "of an input that are not UTF-8 are written as U+FFFD, one for each ill-formed sequence.\n"
    "\n"
    "Text output lists the design checks after the panels (after the message on failure).\n"
    "Without a field option, a design file, --jsonl or --sweep there is nothing to calculate:\n"
    "wormcalc then shows how it is called and exits with status 2.\n"
    "\n"
    "Exit status: 0 done, 1 the calculation or a file (design file, db1.mdb, an output, standard\n"
    "output) failed, or an error among the checks when only the checks are asked for, 2 a usage\n"
    "error (a refused sweep range included).\n";

constexpr const char* kVersion = "wormcalc (wormgear) " WORMGEAR_VERSION
                                 "\n"
                                 "Copyright (C) The wormgear developers\n"
                                 "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                                 "This is free software: you are free to change and redistribute it.\n"
                                 "There is NO WARRANTY, to the extent permitted by law.\n";

constexpr const char* kTryHelp = "Try 'wormcalc --help' for more information.\n";

// One field option's line: "  --starts TEXT             worm starts z1 (Edit4, default 1)".
// The window's fields are Edit1 .. Edit13 in the fields' one order; a symbol
// is shown when it is plain ASCII and not a word of the name already ("E
// value" is E), a default when the field has one. A name too long for the
// option column goes on a line of its own (help2man and the bash completion
// read "--name TEXT" either way).
std::string FieldOptionLine(const DesignFieldDescription& field, const DesignInputs& defaults,
                            const Translate& english) {
    constexpr std::size_t kColumn = 28, kWidest = 92;
    std::string line = std::string("  --") + field.option + " TEXT";
    // Two blanks at least between the option and its text, as help2man reads it.
    line += line.size() + 2 <= kColumn ? std::string(kColumn - line.size(), ' ') : "\n" + std::string(kColumn, ' ');
    const std::string name = Translated(english, kFieldsContext, field.name);
    line += name;
    const std::string_view symbol = field.symbol;
    const bool ascii = std::all_of(symbol.begin(), symbol.end(), [](char c) { return c > 0 && c < 0x7f; });
    const std::string words = " " + name + " ";
    if (!symbol.empty() && ascii && words.find(" " + std::string(symbol) + " ") == std::string::npos) {
        line += " ";
        line += symbol;
    }
    if (!field.calculated) line += ", a text the sheets take";
    std::string control = "(Edit" + std::to_string(static_cast<int>(field.field) + 1);
    const std::string& byDefault = FieldText(defaults, field.field);
    if (!byDefault.empty()) control += ", default " + byDefault;
    control += ")";
    // Too wide for one line: the control and the default on the next.
    const std::size_t lastLine = line.rfind('\n') == std::string::npos ? 0 : line.rfind('\n') + 1;
    const bool wrap = line.size() - lastLine + 1 + control.size() > kWidest;
    line += wrap ? "\n" + std::string(kColumn, ' ') : " ";
    return line + control + "\n";
}

// The fields' names come from the English catalogue (`english`), the rest of
// the help is written in English here.
std::string HelpText(const Translate& english) {
    std::string text = kHelpBeforeFields;
    const DesignInputs defaults;  // the window's defaults, written with '.'
    for (const DesignFieldDescription& field : DesignFields()) text += FieldOptionLine(field, defaults, english);
    return text + kHelpAfterFields;
}

class UsageError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

// Nothing to calculate was given: a usage error that shows how the tool is called.
class NothingGiven : public UsageError {
 public:
    NothingGiven()
        : UsageError("nothing to calculate: give the fields as options, a design file, --jsonl or --sweep") {}
};

// The coefficient store beside the program could not be read: a file
// failure (status 1), not a misuse of the tool.
class StoreFailure : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

// The tool's own numbers always use '.', whatever the user's locale.
TCoefficientTable ParseCoefficients(const std::vector<std::string>& items) {
    if (items.size() != kCoefficientCount) {
        throw UsageError("--coefficients needs 15 numbers, got " + std::to_string(items.size()));
    }
    TCoefficientTable table;
    for (int k = 0; k < kCoefficientCount; ++k) {
        const std::string& item = items[k];
        const char* end = item.data() + item.size();
        auto [ptr, ec] = std::from_chars(item.data(), end, table.c[k]);
        if (ec != std::errc() || ptr != end || item.empty()) {
            throw UsageError("--coefficients: \"" + item + "\" is not a number (c[" + std::to_string(k) + "])");
        }
        // from_chars reads "nan" and "inf" too; no formula can use them.
        if (!std::isfinite(table.c[k])) {
            throw UsageError("--coefficients: \"" + item + "\" is not a finite number (c[" + std::to_string(k) + "])");
        }
    }
    return table;
}

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> items;
    std::string item;
    std::istringstream stream(text);
    while (std::getline(stream, item, ',')) items.push_back(item);
    if (!text.empty() && text.back() == ',') items.push_back("");
    return items;
}

// One job of the tool: a design and what to do with it.
struct Job {
    DesignInputs fields;
    std::array<bool, kDesignFieldCount> given{};  // fields set by an option, which a design file does not override
    bool roundTeeth = false;
    std::optional<TCoefficientTable> coefficients;
    std::optional<std::string> designFile;
    std::vector<std::pair<SheetKind, std::string>> exports;
    std::vector<DrawingRequest> drawings;
    std::optional<std::string> saveDesign;   // --save-design FILE
    std::optional<std::string> flankPoints;  // --flank-points FILE
    std::vector<SolidRequest> solids;        // --step-worm FILE, --step-worm-modified FILE
};

struct Options {
    Job job;
    bool json = false, jsonl = false, suggest = false, help = false, version = false;
    bool check = false, csv = false;
    bool force = false;  // sheets, drawings and the report also of a design with errors
    bool meshing = false;
    std::optional<double> inputSpeed;  // --input-speed RPM
    SweepPlan sweep;
    bool sweeping = false;
    int threads = 0;  // 0: every core
    Language language = Language::Chinese;
    // The texts' language as the services give it (Run sets both for English).
    Translate translate;
    OutcomeTexts texts;
};

// Whether the request's file name names a format it can have: the report
// is a PDF only.
bool FormatFits(const DrawingRequest& request) {
    const auto format = FormatOfPath(request.path);
    return format && (request.kind || *format == FileFormat::Pdf);
}

// A file the tool writes is never "-": standard output carries the results.
void RefuseStandardOutput(const std::string& option, const std::string& path) {
    if (path == "-") {
        throw UsageError("--" + option +
                         " -: standard output carries the results; name a file (./- for one of that name)");
    }
}

Options ParseArguments(const std::vector<std::string>& args) {
    Options o;
    bool optionsEnded = false;  // after "--" every argument is the design file
    for (std::size_t n = 0; n < args.size(); ++n) {
        std::string arg = args[n];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (o.job.designFile) throw UsageError("only one design file may be given (\"" + arg + "\")");
            o.job.designFile = arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h") {
            o.help = true;
            continue;
        }
        if (arg == "-V") {
            o.version = true;
            continue;
        }
        if (arg[1] != '-') throw UsageError("unknown option \"" + arg + "\"");
        std::string name = arg.substr(2);
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        auto takeValue = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (n + 1 >= args.size()) throw UsageError("--" + name + " needs a value");
            return args[++n];
        };
        auto noValue = [&]() {
            if (inlineValue) throw UsageError("--" + name + " takes no value");
        };
        if (const DesignFieldDescription* field = FieldByOption(name)) {
            o.job.fields.*field->text = takeValue();
            o.job.given[static_cast<std::size_t>(field->field)] = true;
        } else if (kExportOptions.count(name)) {
            const std::string path = takeValue();
            if (path.empty()) throw UsageError("--" + name + " needs a file name");
            RefuseStandardOutput(name, path);
            o.job.exports.push_back({kExportOptions.at(name), path});
        } else if (kDrawingOptions.count(name)) {
            DrawingRequest request{kDrawingOptions.at(name), takeValue()};
            RefuseStandardOutput(name, request.path);
            if (!FormatFits(request)) {
                throw UsageError("--" + name + " \"" + request.path + "\": the file name must end in " +
                                 (request.kind ? ".dxf, .svg or .pdf" : ".pdf"));
            }
            o.job.drawings.push_back(std::move(request));
        } else if (name == "step-worm" || name == "step-worm-modified") {
            SolidRequest request{name == "step-worm-modified", takeValue()};
            if (request.path.empty()) throw UsageError("--" + name + " needs a file name");
            RefuseStandardOutput(name, request.path);
            o.job.solids.push_back(std::move(request));
        } else if (name == "coefficients") {
            o.job.coefficients = ParseCoefficients(SplitCommas(takeValue()));
        } else if (name == "round-teeth") {
            noValue();
            o.job.roundTeeth = true;
        } else if (name == "json") {
            noValue();
            o.json = true;
        } else if (name == "jsonl") {
            noValue();
            o.jsonl = true;
        } else if (name == "suggest") {
            noValue();
            o.suggest = true;
        } else if (name == "check") {
            noValue();
            o.check = true;
        } else if (name == "csv") {
            noValue();
            o.csv = true;
        } else if (name == "force") {
            noValue();
            o.force = true;
        } else if (name == "sweep") {
            try {
                o.sweep.add(takeValue());
            } catch (const SweepError& e) {
                throw UsageError(std::string("--sweep ") + e.what());
            }
            o.sweeping = true;
        } else if (name == "threads") {
            const std::string text = takeValue();
            int threads = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), threads);
            if (ec != std::errc() || end != text.data() + text.size() || threads < 1 || threads > 256) {
                throw UsageError("--threads needs a whole number from 1 to 256, not \"" + text + "\"");
            }
            o.threads = threads;
        } else if (name == "meshing") {
            noValue();
            o.meshing = true;
        } else if (name == "input-speed") {
            const std::string text = takeValue();
            double rpm = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), rpm);
            if (ec != std::errc() || end != text.data() + text.size() || !(rpm > 0) || !(rpm <= 1e6))
                throw UsageError("--input-speed needs a speed in 1/min above 0, not \"" + text + "\"");
            o.inputSpeed = rpm;
        } else if (name == "flank-points") {
            const std::string path = takeValue();
            if (path.empty() || path.back() == '/')
                throw UsageError("--flank-points needs a file name, not \"" + path + "\"");
            RefuseStandardOutput(name, path);
            o.job.flankPoints = path;
        } else if (name == "save-design") {
            const std::string path = takeValue();
            if (path.empty() || path.back() == '/')
                throw UsageError("--save-design needs a file name, not \"" + path + "\"");
            RefuseStandardOutput(name, path);
            o.job.saveDesign = path;
        } else if (name == "language") {
            const std::string language = takeValue();
            if (language == "en") {
                o.language = Language::English;
            } else if (language == "zh" || language == "zh_CN") {
                o.language = Language::Chinese;
            } else {
                throw UsageError("--language takes zh or en, not \"" + language + "\"");
            }
        } else if (name == "help") {
            noValue();
            o.help = true;
        } else if (name == "version") {
            noValue();
            o.version = true;
        } else {
            throw UsageError("unknown option \"" + arg + "\"");
        }
    }
    if (o.help || o.version) return o;  // whatever else was asked
    if (o.json && o.jsonl) throw UsageError("--json and --jsonl exclude each other");
    const bool writesFiles = !o.job.exports.empty() || !o.job.drawings.empty() || !o.job.solids.empty() ||
                             o.job.saveDesign;
    if (o.jsonl && (o.suggest || writesFiles)) {
        throw UsageError("--jsonl reads its designs from a file or standard input; give other options there");
    }
    if (o.suggest && writesFiles) throw UsageError("--suggest writes no sheets, drawings or design files");
    if (o.csv && o.json) throw UsageError("--csv and --json exclude each other");
    if (o.check && o.csv) throw UsageError("--check and --csv exclude each other");
    if ((o.check || o.csv) && o.suggest) throw UsageError("--suggest has no checks or table");
    if (o.sweeping && (o.jsonl || o.suggest || o.check || writesFiles)) {
        throw UsageError("--sweep goes with --csv or JSON lines only (no --jsonl, --suggest, --check or files)");
    }
    if (o.threads != 0 && !o.sweeping && !o.jsonl) throw UsageError("--threads applies to --sweep and --jsonl");
    if ((o.meshing || o.job.flankPoints) && (o.jsonl || o.sweeping || o.suggest || o.check || o.csv))
        throw UsageError(
            "--meshing and --flank-points go with one design (no --jsonl, --sweep, --suggest, --check or "
            "--csv)");
    if (o.inputSpeed && !o.meshing) throw UsageError("--input-speed applies to --meshing");
    const bool anyField = std::find(o.job.given.begin(), o.job.given.end(), true) != o.job.given.end();
    if (!anyField && !o.job.designFile && !o.jsonl && !o.sweeping) throw NothingGiven();
    return o;
}

// The lines of an outcome at their places in the window's panel order; after a
// failure only the places the run wrote are filled.
std::array<const ResultLine*, kResultCount> LinesInPanelOrder(const CalculationOutcome& outcome) {
    std::array<const ResultLine*, kResultCount> placed{};
    for (const auto& line : outcome.lines) placed[static_cast<std::size_t>(line.id)] = &line;
    return placed;
}

void WriteJsonOutcome(std::ostream& out, const CalculationOutcome& outcome, const std::vector<Finding>& findings,
                      char separator, const OutcomeTexts& texts) {
    std::string json;
    json.reserve(4096);
    AppendOutcomeJson(json, outcome, findings, separator, nullptr, texts);
    out.write(json.data(), static_cast<std::streamsize>(json.size()));
}

// The panels as the window shows them, then the checks; on failure the
// message with the checks beneath it, as the window's message box shows them.
void WriteTextOutcome(std::ostream& out, std::ostream& err, const CalculationOutcome& outcome,
                      const std::vector<Finding>& findings, char separator, const Translate& translate) {
    if (!outcome.succeeded()) {
        err << "wormcalc: " << CalculationMessage(outcome.failure, translate) << '\n';
        WriteFindingsText(err, findings, separator, translate);
        return;
    }
    const auto placed = LinesInPanelOrder(outcome);
    for (const PanelDescription& panel : Panels()) {
        if (&panel != &Panels().front()) out << '\n';
        out << PanelCaption(panel, translate) << '\n';
        for (int n = panel.first; n < panel.first + panel.count; ++n)
            out << ResultLineText(*placed[static_cast<std::size_t>(n)], translate) << '\n';
    }
    if (!findings.empty()) out << '\n';
    WriteFindingsText(out, findings, separator, translate);
}

bool AnyError(const std::vector<Finding>& findings) {
    const Finding* worst = Worst(findings);
    return worst && worst->severity() == Severity::Error;
}

TCoefficientTable Coefficients(const Job& job, const WormcalcServices& services) {
    if (job.coefficients) return *job.coefficients;
    if (!services.defaultCoefficients) {
        throw UsageError("--coefficients is required: this build has no coefficient store");
    }
    try {
        return services.defaultCoefficients();
    } catch (const std::exception& e) {
        throw StoreFailure(std::string("cannot read the coefficients (db1.mdb): ") + e.what());
    }
}

// What --suggest shows, in the window's order: a proposal, the coefficient it
// corresponds to (the read-out under its field), and the same for the other.
struct SuggestionOutput {
    const char* label;
    const char* symbol;
    const char* name;  // Chinese, the catalogue's key in wormgear::Fields
    const char* unit;
};

const std::array<SuggestionOutput, 4>& SuggestionOutputs() {
    static const std::array<SuggestionOutput, 4> outputs = [] {
        const DesignFieldDescription& base = DesignFields()[static_cast<int>(DesignField::MainBaseDiameter)];
        const DesignFieldDescription& pitch = DesignFields()[static_cast<int>(DesignField::WormPitchDiameter)];
        // The read-outs' symbols and names are those the hint checks give them.
        return std::array<SuggestionOutput, 4>{
            {{"Edit5", base.symbol, base.name, base.unit},
             {"Label46", "Db/A", QT_TRANSLATE_NOOP("wormgear::Fields", "主基圆直径系数"), ""},
             {"Edit7", pitch.symbol, pitch.name, pitch.unit},
             {"Label47", "d1/A^c[0]", QT_TRANSLATE_NOOP("wormgear::Fields", "蜗杆分度圆直径系数"), ""}}};
    }();
    return outputs;
}

// The centre-distance change of the window: proposals with their read-outs,
// each failing handler adding the suggestion message (on the error stream, or
// counted in the JSON object).
int RunSuggest(const Job& job, bool asJson, const Translate& translate, const WormcalcServices& services,
               std::ostream& out, std::ostream& err, char separator) {
    const std::string message = Translated(translate, kCalculationContext, kSuggestionMessage);
    const std::string& a = job.fields.CentreDistance;
    const Real exponent = Coefficients(job, services)[Coefficient::PitchDiameterExponent];
    // Texts by their place in SuggestionOutputs(); a failed handler leaves its place empty.
    std::array<std::optional<std::string>, 4> shown;
    int failures = 0;
    auto attempt = [&](auto&& produce) {
        try {
            produce();
        } catch (const NumericError&) {
            ++failures;
        }
    };
    if (!a.empty()) {
        attempt([&] {
            const std::string& base = shown[0].emplace(ProposeMainBaseDiameter(a, separator));
            attempt([&] { shown[1] = MainBaseDiameterShare(base, a, separator); });
            const std::string& pitch = shown[2].emplace(ProposeWormPitchDiameter(a, exponent, separator));
            attempt([&] { shown[3] = WormPitchDiameterFactor(pitch, a, exponent, separator); });
        });
    }
    if (asJson) {
        std::string json = "{";
        if (failures) {
            json += "\"error\":";
            json::AppendQuoted(json, message);
            json += ",\"messages\":" + std::to_string(failures) + ',';
        }
        json += "\"lines\":[";
        bool first = true;
        for (std::size_t n = 0; n < shown.size(); ++n) {
            if (!shown[n]) continue;
            if (!first) json += ',';
            first = false;
            const SuggestionOutput& output = SuggestionOutputs()[n];
            // A proposal or read-out is a number text and nothing else.
            AppendShownValueJson(json, output.label, output.symbol, Translated(translate, kFieldsContext, output.name),
                                 output.unit, *shown[n], shown[n]->size(), separator);
        }
        json += "]}\n";
        out << json;
    } else {
        for (std::size_t n = 0; n < shown.size(); ++n) {
            if (shown[n]) out << SuggestionOutputs()[n].label << '\t' << *shown[n] << '\n';
        }
        for (int n = 0; n < failures; ++n) err << "wormcalc: " << message << '\n';
    }
    return failures ? 1 : 0;
}

// The coefficients of the store beside the program, read once for a whole
// batch by the first line that needs them (or before a chunk of lines that
// will), whichever thread gets there first. A store that cannot be read
// fails every line that needs it with the same reason.
class BatchStore {
 public:
    explicit BatchStore(const WormcalcServices& services) : services_(services) {}

    TCoefficientTable Get() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (table_) return *table_;
        if (failure_) throw StoreFailure(*failure_);
        try {
            table_ = Coefficients(Job{}, services_);
        } catch (const StoreFailure& e) {
            failure_ = e.what();
            throw;
        }
        return *table_;
    }

    bool Tried() {
        std::lock_guard<std::mutex> lock(mutex_);
        return table_ || failure_;
    }

 private:
    const WormcalcServices& services_;
    std::mutex mutex_;
    std::optional<TCoefficientTable> table_;
    std::optional<std::string> failure_;
};

// What a batch worker keeps from line to line, so that a line allocates
// nothing once the first lines have made room.
struct BatchWorker {
    Job job;
    json::FlatObject object;
    CalculationOutcome outcome;
    std::vector<Finding> findings;
};

// The output of consecutive lines: their lines of standard output and of
// the error stream, and the worst status among them.
struct BatchBlock {
    std::string out, err;
    int status = 0;
};

// Output buffers handed back once written, so that a block of a megabyte or
// two is not grown, copied and given back to the system for every 256 lines.
class BufferPool {
 public:
    std::string Take() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (buffers_.empty()) return {};
        std::string buffer = std::move(buffers_.back());
        buffers_.pop_back();
        buffer.clear();
        return buffer;
    }
    void Give(std::string&& buffer) {
        std::lock_guard<std::mutex> lock(mutex_);
        buffers_.push_back(std::move(buffer));
    }

 private:
    std::mutex mutex_;
    std::vector<std::string> buffers_;
};

// A line of a chunk of the input: where its text lies in the chunk, whether
// it was too long to keep, and its number in the whole input.
struct BatchLine {
    std::size_t offset, length;
    bool tooLong;
    long number;
};

// Lines read before they are calculated together, and the lines a worker
// takes at a time. The first chunk is small, so that the work starts after
// a millisecond of reading, and the chunks grow to 16,384 lines, some
// 50 ms of work on each core; a block of 64 lines is half a millisecond, so
// that at the end of a chunk no core waits long for the other.
constexpr std::size_t kFirstChunkLines = 1024;
constexpr std::size_t kChunkLines = 16384;
constexpr std::size_t kChunkBytes = 8u << 20;
constexpr std::uint64_t kBlockLines = 64;

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r") == std::string_view::npos; }

// One line of the batch into `block`: its result, or for a line that cannot
// be read the error object (or an empty CSV row) of its own, so that outputs
// stay aligned with inputs.
void RunBatchLine(const Options& defaults, BatchWorker& w, std::string_view text, const BatchLine& line,
                  BatchStore& store, char separator, BatchBlock& block) {
    auto refuse = [&](const std::string& reason, const char* code, int status, bool alsoOnErrorStream) {
        if (defaults.csv) {
            // Every cell empty but the last; the reason goes to the error stream.
            block.out.append(TableFields().size() + kResultCount, ',').append("error:").append(code) += '\n';
            block.err.append("wormcalc: ").append(reason) += '\n';
        } else {
            block.out += "{\"error\":";
            json::AppendQuoted(block.out, reason);
            block.out += ",\"lines\":[]}\n";
            if (alsoOnErrorStream) block.err.append("wormcalc: ").append(reason) += '\n';
        }
        block.status = std::max(block.status, status);
    };
    const std::string lineName = "line " + std::to_string(line.number) + ": ";
    if (line.tooLong) {
        refuse(lineName + "longer than the limit of " + kMaxBatchLineShown + " (" + std::to_string(kMaxBatchLineBytes) +
                   " bytes), not read",
               "unreadable-line", 2, true);
        return;
    }
    if (IsBlank(text)) return;
    try {
        Job& job = w.job;
        job.fields = defaults.job.fields;
        job.roundTeeth = defaults.job.roundTeeth;
        job.coefficients = defaults.job.coefficients;
        w.object.Parse(text);
        // In the order of the keys, as the first unusable key is named.
        for (const json::FlatObject::Member* member : w.object.InKeyOrder()) {
            const std::string& key = member->key;
            const json::Value& value = member->value;
            if (const DesignFieldDescription* field = FieldByOption(key)) {
                const auto* s = std::get_if<std::string>(&value);
                if (!s) throw UsageError("\"" + key + "\" must be a string");
                job.fields.*field->text = *s;
            } else if (key == "round-teeth") {
                const auto* b = std::get_if<bool>(&value);
                if (!b) throw UsageError("\"round-teeth\" must be true or false");
                job.roundTeeth = *b;
            } else if (key == "coefficients") {
                if (const auto* list = std::get_if<std::vector<std::string>>(&value)) {
                    job.coefficients = ParseCoefficients(*list);
                } else if (const auto* s = std::get_if<std::string>(&value)) {
                    job.coefficients = ParseCoefficients(SplitCommas(*s));
                } else {
                    throw UsageError("\"coefficients\" must be a list of 15 numbers");
                }
            } else {
                throw UsageError("unknown key \"" + key + "\"");
            }
        }
        if (!job.coefficients) job.coefficients = store.Get();
        w.outcome.design = TWormDesign{};  // each design on its own
        CalculateInto(w.outcome, job.fields, job.roundTeeth, *job.coefficients, separator);
        CheckDesign(job.fields, *job.coefficients, w.outcome, separator, w.findings);
        if (!w.outcome.succeeded()) block.status = std::max(block.status, 1);
        if (defaults.check && AnyError(w.findings)) block.status = std::max(block.status, 1);
        if (defaults.csv) {
            AppendDesignRow(block.out, job.fields, w.outcome, Worst(w.findings), separator);
        } else if (defaults.check) {
            AppendChecksOnlyJson(block.out, w.findings, separator, defaults.translate);
        } else {
            AppendOutcomeJson(block.out, w.outcome, w.findings, separator, nullptr, defaults.texts);
        }
    } catch (const StoreFailure& e) {
        refuse(lineName + e.what(), "coefficients-unreadable", 1, false);
    } catch (const std::exception& e) {
        refuse(lineName + e.what(), "unreadable-line", 2, false);
    }
}

// --jsonl: one design per input line, read in chunks and calculated on
// `threads` threads, the outputs written in the order of the lines.
int RunBatch(const Options& defaults, BoundedLineReader& reader, std::ostream& out, std::ostream& err,
             const WormcalcServices& services, char separator) {
    const int threads = defaults.threads != 0 ? defaults.threads
                                              : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    std::vector<BatchWorker> workers(static_cast<std::size_t>(threads));
    BatchStore store(services);
    BufferPool buffers;
    std::string chunk;
    std::vector<BatchLine> lines;
    long lineNumber = 0;
    int status = 0;
    int writeError = 0;  // errno of a write that failed, taken on the writer's thread
    if (defaults.csv) out << DesignTableHeader();
    bool more = true;
    std::size_t chunkLines = kFirstChunkLines;
    while (more && out) {
        chunk.clear();
        lines.clear();
        while (lines.size() < chunkLines && chunk.size() < kChunkBytes) {
            const std::size_t offset = chunk.size();
            const LineRead read = reader.Next(chunk);
            if (!read) {
                more = false;
                break;
            }
            lines.push_back({offset, chunk.size() - offset, read.kind == LineRead::Kind::TooLong, ++lineNumber});
        }
        chunkLines = std::min(chunkLines * 2, kChunkLines);
        auto textOf = [&](const BatchLine& line) { return std::string_view(chunk).substr(line.offset, line.length); };
        // The store is read here, on the program's own thread, when a line
        // of the chunk will need it; a line that names coefficients only in
        // a value reads it from its worker.
        if (!defaults.job.coefficients && !store.Tried()) {
            const bool needed = std::any_of(lines.begin(), lines.end(), [&](const BatchLine& line) {
                return !line.tooLong && !IsBlank(textOf(line)) &&
                       textOf(line).find("\"coefficients\"") == std::string_view::npos;
            });
            if (needed) {
                try {
                    store.Get();
                } catch (const std::exception&) {
                    // Each line that needs the store reports it.
                }
            }
        }
        RunInOrder<BatchBlock>(
            lines.size(), threads, kBlockLines,
            [&](std::uint64_t first, std::uint64_t count, int index, BatchBlock& block) {
                BatchWorker& worker = workers[static_cast<std::size_t>(index)];
                block.out = buffers.Take();
                for (std::uint64_t n = first; n < first + count; ++n)
                    RunBatchLine(defaults, worker, textOf(lines[n]), lines[n], store, separator, block);
            },
            [&](BatchBlock& block) {
                status = std::max(status, block.status);
                out.write(block.out.data(), static_cast<std::streamsize>(block.out.size()));
                if (!out) writeError = errno;
                err << block.err;
                buffers.Give(std::move(block.out));
                // A failed write (a full disk) ends the batch: the rest would be lost too.
                return static_cast<bool>(out);
            });
    }
    if (!out && writeError != 0) errno = writeError;
    CheckOutput(out);
    return status;
}

// The batch of BATCH.jsonl, or of standard input without it or for "-". The
// file is opened as every file the program reads: it never waits on what is
// not a regular file; a batch has no bound on its size, only its lines have.
int RunBatchOf(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
               const WormcalcServices& services, char separator) {
    const std::optional<std::string>& path = options.job.designFile;
    if (!path || *path == "-") {
        BoundedLineReader reader(in, kMaxBatchLineBytes);
        return RunBatch(options, reader, out, err, services, separator);
    }
    std::optional<RegularFile> file;
    try {
        file.emplace(*path, std::numeric_limits<std::uint64_t>::max());
    } catch (const FileError& e) {
        err << "wormcalc: cannot read the batch file \"" << *path << "\": " << e.what() << '\n';
        return 1;
    }
    BoundedLineReader reader(file->descriptor(), kMaxBatchLineBytes);
    int status = RunBatch(options, reader, out, err, services, separator);
    if (reader.readError() != 0) {
        err << "wormcalc: cannot read the batch file \"" << *path
            << "\": " << FileError(FileError::Action::Read, *path, reader.readError()).what() << '\n';
        status = std::max(status, 1);
    }
    return status;
}

}  // namespace

bool WormcalcPaints(const std::vector<std::string>& arguments) {
    try {
        for (const DrawingRequest& request : ParseArguments(arguments).job.drawings)
            if (FormatOfPath(request.path) != FileFormat::Dxf) return true;
    } catch (const UsageError&) {
    }
    return false;
}

namespace {

int OutputFailed(std::ostream& err, const OutputError& error) {
    err << "wormcalc: the output could not be written" << (*error.what() ? ": " : "") << error.what() << '\n';
    return 1;
}

// The design file of --save-design: the texts as they are, whether they
// calculate or not, as the window saves them.
int SaveDesign(const Job& job, const WormcalcServices& services, std::ostream& err) {
    if (!services.writeDesign) throw UsageError("this build cannot write design files");
    try {
        services.writeDesign(job.fields, *job.saveDesign);
    } catch (const std::exception& e) {
        err << "wormcalc: the design file \"" << *job.saveDesign << "\" could not be written: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

// Whether the design can be analysed: a failed calculation gets its message
// and the checks beneath it, a design whose checks find an error the errors'
// codes; both exit 1 with nothing analysed.
int RefusedForMeshing(const CalculationOutcome& outcome, const std::vector<Finding>& findings, std::ostream& err,
                      char separator, const Translate& translate) {
    if (!outcome.succeeded()) {
        err << "wormcalc: " << CalculationMessage(outcome.failure, translate) << '\n';
        WriteFindingsText(err, findings, separator, translate);
        return 1;
    }
    if (!HasErrors(findings)) return 0;
    std::string codes;
    int errors = 0;
    for (const Finding& finding : findings) {
        if (finding.severity() != Severity::Error) break;
        codes += (errors++ ? ", " : "") + std::string(finding.id());
    }
    err << "wormcalc: the design checks found " << errors << (errors == 1 ? " error" : " errors") << " (" << codes
        << "): no meshing analysis\n";
    WriteFindingsText(err, findings, separator, translate);
    return 1;
}

int WriteMeshing(const Options& options, const CalculationOutcome& outcome, const std::vector<Finding>& findings,
                 std::ostream& out, std::ostream& err, char separator) {
    if (const int refused = RefusedForMeshing(outcome, findings, err, separator, options.translate)) return refused;
    meshing::AnalysisOptions settings;
    if (options.inputSpeed) settings.wormSpeed = *options.inputSpeed;
    try {
        const meshing::MeshingAnalysis analysis = meshing::AnalyseMeshing(outcome.design, settings);
        if (options.json) {
            std::string json;
            AppendMeshingJson(json, analysis);
            out << json;
        } else {
            WriteMeshingText(out, analysis, options.translate);
        }
    } catch (const meshing::MeshingError& e) {
        err << "wormcalc: no meshing analysis: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

// The measuring grid: 50 rulings of 25 points on each flank of each start.
int WriteFlankPoints(const std::string& path, const CalculationOutcome& outcome, const std::vector<Finding>& findings,
                     std::ostream& err, const Translate& translate) {
    if (const int refused = RefusedForMeshing(outcome, findings, err, '.', translate)) return refused;
    const auto grid = meshing::FlankGrid(meshing::PairOf(outcome.design), 50, 25);
    if (grid.empty()) {
        err << "wormcalc: no flank points: the flanks cannot be placed for the throat's axial thickness\n";
        return 1;
    }
    try {
        ReplaceFileAtomically(path, meshing::FlankGridCsv(grid, "wormgear " WORMGEAR_VERSION));
    } catch (const std::exception& e) {
        err << "wormcalc: \"" << path << "\" could not be written: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

int Run(Options& options, std::istream& in, std::ostream& out, std::ostream& err, const WormcalcServices& services,
        char decimalSeparator) {
    if (options.help) {
        // The help is English; without the catalogue beside the program the
        // fields keep their Chinese names rather than the help failing.
        Translate english;
        if (services.useLanguage) {
            try {
                english = services.useLanguage(Language::English);
            } catch (const std::exception&) {
            }
        }
        out << HelpText(english);
        return 0;
    }
    if (options.version) {
        out << kVersion;
        return 0;
    }
    if (options.language != Language::Chinese) {
        // Every text from here on is in the chosen language, files included.
        if (!services.useLanguage) throw UsageError("this build has no English texts");
        try {
            options.translate = services.useLanguage(options.language);
        } catch (const std::exception& e) {
            err << "wormcalc: " << e.what() << '\n';
            return 1;
        }
        options.texts = OutcomeTexts(options.translate);
    }
    if (options.jsonl) return RunBatchOf(options, in, out, err, services, decimalSeparator);

    Job& job = options.job;
    if (job.designFile) {
        const bool standardInput = *job.designFile == "-";
        if (!(standardInput ? static_cast<bool>(services.readDesignStream)
                            : static_cast<bool>(services.readDesignFile)))
            throw UsageError("this build cannot read design files");
        DesignInputs fromFile;
        try {
            fromFile = standardInput ? services.readDesignStream(in) : services.readDesignFile(*job.designFile);
        } catch (const std::exception& e) {
            err << "wormcalc: cannot open the design file "
                << (standardInput ? std::string("from standard input") : "\"" + *job.designFile + "\"") << ": "
                << e.what() << '\n';
            return 1;
        }
        // Options given beside the file override its texts.
        for (const DesignFieldDescription& field : DesignFields()) {
            if (!job.given[static_cast<std::size_t>(field.field)]) job.fields.*field.text = fromFile.*field.text;
        }
    }
    if (options.suggest) return RunSuggest(job, options.json, options.translate, services, out, err, decimalSeparator);
    if (options.sweeping) {
        SweepJob sweep{
            options.sweep,
            job.fields,
            job.roundTeeth,
            Coefficients(job, services),
            options.csv,
            options.threads != 0 ? options.threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency())),
            options.texts};
        return RunSweep(sweep, out, decimalSeparator);
    }

    const TCoefficientTable coefficients = Coefficients(job, services);
    const CalculationOutcome outcome = wormgear::Calculate(job.fields, job.roundTeeth, coefficients, decimalSeparator);
    const std::vector<Finding> findings = CheckDesign(job.fields, coefficients, outcome, decimalSeparator);
    if (options.check) {
        if (options.json) {
            std::string json;
            AppendChecksOnlyJson(json, findings, decimalSeparator, options.translate);
            out << json;
        } else {
            WriteFindingsText(out, findings, decimalSeparator, options.translate);
        }
    } else if (options.csv) {
        std::string csv = DesignTableHeader();
        AppendDesignRow(csv, job.fields, outcome, Worst(findings), decimalSeparator);
        out << csv;
    } else if (options.meshing) {
        const int status = WriteMeshing(options, outcome, findings, out, err, decimalSeparator);
        if (status != 0) return status;
    } else if (options.json) {
        WriteJsonOutcome(out, outcome, findings, decimalSeparator, options.texts);
    } else {
        WriteTextOutcome(out, err, outcome, findings, decimalSeparator, options.translate);
    }
    FlushOutput(out);  // before any file is written: the results must have reached their reader
    if (job.flankPoints) {
        const int status = WriteFlankPoints(*job.flankPoints, outcome, findings, err, options.translate);
        if (status != 0) return status;
    }
    if (job.saveDesign && SaveDesign(job, services, err) != 0) return 1;
    if (options.check) return AnyError(findings) ? 1 : 0;
    // A design whose calculation failed is never exported or drawn.
    if (!outcome.succeeded()) return 1;
    // Nor one whose checks found an error, unless the designer insists; what
    // is then written carries the mark.
    if ((!job.exports.empty() || !job.drawings.empty() || !job.solids.empty()) && HasErrors(findings) &&
        !options.force) {
        std::string codes;
        int errors = 0;
        for (const Finding& finding : findings) {
            if (finding.severity() != Severity::Error) break;
            codes += (errors++ ? ", " : "") + std::string(finding.id());
        }
        err << "wormcalc: the design checks found " << errors << (errors == 1 ? " error" : " errors") << " (" << codes
            << "): no sheet, drawing, report or solid is written; --force writes them, marked \""
            << ChecksErrorMark(options.translate) << "\"\n";
        return 1;
    }

    for (const auto& [sheet, path] : job.exports) {
        if (!services.writeSheet) throw UsageError("this build cannot write sheets");
        try {
            services.writeSheet(sheet, job.fields, outcome.design, findings, path);
        } catch (const std::exception& e) {
            err << "wormcalc: the sheet \"" << path << "\" could not be written: " << e.what() << '\n';
            return 1;
        }
    }
    if (!job.drawings.empty()) {
        if (!services.writeDrawing) throw UsageError("this build cannot write drawings");
        const auto calculated = CalculatedDesign::From(job.fields, job.roundTeeth, coefficients, outcome,
                                                       decimalSeparator);
        if (!calculated) {
            err << "wormcalc: the design has no complete result to draw\n";
            return 1;
        }
        for (const DrawingRequest& request : job.drawings) {
            try {
                // The title block names the design file; standard input has no name.
                services.writeDrawing(request, *calculated,
                                      job.designFile && *job.designFile != "-" ? *job.designFile : std::string());
            } catch (const std::exception& e) {
                err << "wormcalc: \"" << request.path << "\" could not be written: " << e.what() << '\n';
                return 1;
            }
        }
    }
    for (const SolidRequest& request : job.solids) {
        if (!services.writeSolid) throw UsageError("this build cannot write solids");
        try {
            services.writeSolid(request, outcome.design);
        } catch (const std::exception& e) {
            err << "wormcalc: \"" << request.path << "\" is not written: " << e.what() << '\n';
            return 1;
        }
    }
    return 0;
}

}  // namespace

int RunWormcalc(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err,
                const WormcalcServices& services, char decimalSeparator) {
    int status = 0;
    try {
        Options options = ParseArguments(arguments);
        // Fields no option sets start from the window's defaults, numbers in
        // the user's notation ("0,3" where the separator is ',').
        const DesignInputs defaults = DefaultInputs(decimalSeparator);
        for (const DesignFieldDescription& field : DesignFields()) {
            if (!options.job.given[static_cast<std::size_t>(field.field)])
                options.job.fields.*field.text = defaults.*field.text;
        }
        status = Run(options, in, out, err, services, decimalSeparator);
    } catch (const NothingGiven& e) {
        err << "wormcalc: " << e.what() << '\n' << kUsageLine << kTryHelp;
        return 2;
    } catch (const UsageError& e) {
        err << "wormcalc: " << e.what() << '\n' << kTryHelp;
        return 2;
    } catch (const StoreFailure& e) {
        err << "wormcalc: " << e.what() << '\n';
        status = 1;
    } catch (const OutputError& e) {
        return OutputFailed(err, e);
    }
    // Whatever was written must have reached its file: a full disk, a closed
    // output is a failure, not a success with output missing.
    try {
        FlushOutput(out);
    } catch (const OutputError& e) {
        return OutputFailed(err, e);
    }
    return status;
}

}  // namespace wormgear
