// wormcalc: options, the text and JSON outputs, the batch mode, suggestions,
// sheet export and design files without a window.
#include "cli/wormcalc.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "calc/checks.h"
#include "calc/suggestions.h"
#include "cli/json.h"
#include "cli/outcome_output.h"
#include "cli/sweep_mode.h"
#include "sweep/design_table.h"

namespace wormgear {

namespace {

const std::map<std::string, SheetKind> kExportOptions = {
    {"export-worm", SheetKind::Worm}, {"export-hob", SheetKind::Hob}, {"export-wheel", SheetKind::Wheel}};
const std::map<std::string, std::optional<DrawingKind>> kDrawingOptions = {{"drawing-worm", DrawingKind::Worm},
                                                                           {"drawing-wheel", DrawingKind::Wheel},
                                                                           {"drawing-hob", DrawingKind::Hob},
                                                                           {"report", std::nullopt}};

constexpr const char* kUsage =
    "Usage: wormcalc [DESIGN.cqb] [options]\n"
    "Calculates one enveloping worm gear design, as the window's Calculate does.\n"
    "\n"
    "Field options (each takes the field's text exactly as typed):\n"
    "  --centre-distance TEXT    centre distance A (Edit1)\n"
    "  --speed-ratio TEXT        speed ratio i (Edit2)\n"
    "  --teeth TEXT              wheel teeth z2 (Edit3)\n"
    "  --starts TEXT             worm starts z1 (Edit4, default 1)\n"
    "  --base-diameter TEXT      main base circle diameter (Edit5)\n"
    "  --eccentricity TEXT       E value (Edit6, default 0)\n"
    "  --pitch-diameter TEXT     worm pitch diameter (Edit7)\n"
    "  --backlash TEXT           backlash (Edit8, default 0.3)\n"
    "  --grinding-increment TEXT grinding increment (Edit13, default 0.2)\n"
    "  --worm-accuracy TEXT, --hob-accuracy TEXT, --entrance-relief TEXT, --exit-relief TEXT\n"
    "                            texts the sheets take (Edit9 .. Edit12)\n"
    "  --round-teeth             take the enveloped teeth as a whole number (取整数 ticked)\n"
    "  --coefficients C0,...,C14 the fifteen rule coefficients, '.' as separator\n"
    "                            (default: db1.mdb beside the executable)\n"
    "\n"
    "Modes and outputs:\n"
    "  DESIGN.cqb                take the thirteen texts from a design file; options override them\n"
    "  --json                    one JSON object: {\"lines\": [{\"label\": ..., \"text\": ...}, ...],\n"
    "                            \"checks\": [{\"severity\", \"code\", \"fields\", \"message\", \"suggestion\",\n"
    "                            \"values\"}, ...]}; the design checks, worst first, also on failure\n"
    "  --check                   only the design checks (as text, or as {\"checks\": [...]} in JSON);\n"
    "                            exit 1 when one of them is an error\n"
    "  --csv                     a header row and one row per design: the field texts, the 34 result\n"
    "                            numbers (by symbol) and the worst check as severity:code; numbers\n"
    "                            with '.'\n"
    "  --sweep FIELD=FROM:TO:STEP every combination of the ranges (repeatable; exact decimal steps,\n"
    "                            at most 10000000 designs), as CSV rows or JSON lines in order\n"
    "  --threads N               threads of a sweep (default: every core)\n"
    "  --jsonl                   batch: one JSON object per input line (keys as the long options),\n"
    "                            one JSON result per output line\n"
    "  --suggest                 the proposals typing the centre distance gives (Edit5, Label46,\n"
    "                            Edit7, Label47)\n"
    "  --export-worm FILE, --export-hob FILE, --export-wheel FILE\n"
    "                            write the parameter sheet from its template\n"
    "  --drawing-worm FILE, --drawing-wheel FILE, --drawing-hob FILE\n"
    "                            write the drawing; FILE ends in .dxf, .svg or .pdf\n"
    "  --report FILE             write the calculation report; FILE ends in .pdf\n"
    "  --help                    this text\n"
    "\n"
    "Text output lists the design checks after the panels (after the message on failure).\n"
    "\n"
    "Exit status: 0 done, 1 the calculation or a file (design file, db1.mdb, an output) failed, or\n"
    "an error among the checks when only the checks are asked for, 2 a usage error (a refused sweep\n"
    "range included).\n";

class UsageError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
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
};

struct Options {
    Job job;
    bool json = false, jsonl = false, suggest = false, help = false;
    bool check = false, csv = false;
    SweepPlan sweep;
    bool sweeping = false;
    int threads = 0;  // 0: every core
};

// Whether the request's file name names a format it can have: the report
// is a PDF only.
bool FormatFits(const DrawingRequest& request) {
    const auto format = FormatOfPath(request.path);
    return format && (request.kind || *format == FileFormat::Pdf);
}

Options ParseArguments(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t n = 0; n < args.size(); ++n) {
        std::string arg = args[n];
        if (arg.rfind("--", 0) != 0) {
            if (o.job.designFile) throw UsageError("only one design file may be given (\"" + arg + "\")");
            o.job.designFile = arg;
            continue;
        }
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
            o.job.exports.push_back({kExportOptions.at(name), path});
        } else if (kDrawingOptions.count(name)) {
            DrawingRequest request{kDrawingOptions.at(name), takeValue()};
            if (!FormatFits(request)) {
                throw UsageError("--" + name + " \"" + request.path + "\": the file name must end in " +
                                 (request.kind ? ".dxf, .svg or .pdf" : ".pdf"));
            }
            o.job.drawings.push_back(std::move(request));
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
        } else if (name == "help") {
            o.help = true;
        } else {
            throw UsageError("unknown option \"" + arg + "\" (see --help)");
        }
    }
    if (o.json && o.jsonl) throw UsageError("--json and --jsonl exclude each other");
    if (o.jsonl && (o.suggest || o.job.designFile || !o.job.exports.empty() || !o.job.drawings.empty())) {
        throw UsageError("--jsonl reads its designs from standard input; give other options there");
    }
    if (o.suggest && (!o.job.exports.empty() || !o.job.drawings.empty()))
        throw UsageError("--suggest writes no sheets or drawings");
    if (o.csv && o.json) throw UsageError("--csv and --json exclude each other");
    if (o.check && o.csv) throw UsageError("--check and --csv exclude each other");
    if ((o.check || o.csv) && o.suggest) throw UsageError("--suggest has no checks or table");
    if (o.sweeping && (o.jsonl || o.suggest || o.check || !o.job.exports.empty() || !o.job.drawings.empty())) {
        throw UsageError("--sweep goes with --csv or JSON lines only (no --jsonl, --suggest, --check or files)");
    }
    if (o.threads != 0 && !o.sweeping) throw UsageError("--threads applies to --sweep");
    return o;
}

// The lines of an outcome at their places in the window's panel order; after a
// failure only the places the run wrote are filled.
std::array<const std::string*, kResultCount> LinesInPanelOrder(const CalculationOutcome& outcome) {
    std::array<const std::string*, kResultCount> placed{};
    for (const auto& line : outcome.lines) placed[static_cast<std::size_t>(line.id)] = &line.text;
    return placed;
}

void WriteJsonOutcome(std::ostream& out, const CalculationOutcome& outcome, const std::vector<Finding>& findings,
                      char separator) {
    std::string json;
    json.reserve(4096);
    AppendOutcomeJson(json, outcome, findings, separator);
    out.write(json.data(), static_cast<std::streamsize>(json.size()));
}

// The panels as the window shows them, then the checks; on failure the
// message with the checks beneath it, as the window's message box shows them.
void WriteTextOutcome(std::ostream& out, std::ostream& err, const CalculationOutcome& outcome,
                      const std::vector<Finding>& findings, char separator) {
    if (!outcome.succeeded()) {
        err << outcome.failure << '\n';
        WriteFindingsText(err, findings, separator);
        return;
    }
    const auto placed = LinesInPanelOrder(outcome);
    for (const PanelDescription& panel : Panels()) {
        if (&panel != &Panels().front()) out << '\n';
        out << panel.caption << '\n';
        for (int n = panel.first; n < panel.first + panel.count; ++n)
            out << *placed[static_cast<std::size_t>(n)] << '\n';
    }
    if (!findings.empty()) out << '\n';
    WriteFindingsText(out, findings, separator);
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

// The centre-distance change of the window: proposals with their read-outs,
// each failing handler adding the suggestion message.
int RunSuggest(const Job& job, bool asJson, const WormcalcServices& services, std::ostream& out, char separator) {
    const std::string& a = job.fields.CentreDistance;
    const Real exponent = Coefficients(job, services)[Coefficient::PitchDiameterExponent];
    std::vector<std::pair<const char*, std::string>> shown;
    int failures = 0;
    auto attempt = [&](auto&& produce) -> bool {
        try {
            produce();
            return true;
        } catch (const NumericError&) {
            ++failures;
            return false;
        }
    };
    if (!a.empty()) {
        attempt([&] {
            const std::string base = ProposeMainBaseDiameter(a, separator);
            shown.push_back({"edit5", base});
            attempt([&] { shown.push_back({"label46", MainBaseDiameterShare(base, a, separator)}); });
            const std::string pitch = ProposeWormPitchDiameter(a, exponent, separator);
            shown.push_back({"edit7", pitch});
            attempt([&] { shown.push_back({"label47", WormPitchDiameterFactor(pitch, a, exponent, separator)}); });
        });
    }
    if (asJson) {
        out << '{';
        bool first = true;
        for (const auto& [key, text] : shown) {
            out << (first ? "" : ",") << json::Quote(key) << ':' << json::Quote(text);
            first = false;
        }
        if (failures) {
            out << (first ? "" : ",") << "\"error\":" << json::Quote(kSuggestionMessage);
            out << ",\"messages\":" << failures;
        }
        out << "}\n";
    } else {
        const std::map<std::string, const char*> names = {
            {"edit5", "Edit5"}, {"label46", "Label46"}, {"edit7", "Edit7"}, {"label47", "Label47"}};
        for (const auto& [key, text] : shown) out << names.at(key) << '\t' << text << '\n';
        for (int n = 0; n < failures; ++n) out << kSuggestionMessage << '\n';
    }
    return failures ? 1 : 0;
}

// --jsonl: one design per input line; a malformed line gets an error object
// (or an empty CSV row) of its own so that outputs stay aligned with inputs.
int RunBatch(const Options& defaults, std::istream& in, std::ostream& out, std::ostream& err,
             const WormcalcServices& services, char separator) {
    std::optional<TCoefficientTable> storeCoefficients = defaults.job.coefficients;
    int status = 0;
    std::string text;
    long lineNumber = 0;
    // Kept from design to design: nothing is allocated per design once they have room.
    CalculationOutcome outcome;
    std::vector<Finding> findings;
    std::string written;
    if (defaults.csv) out << DesignTableHeader();
    while (std::getline(in, text)) {
        ++lineNumber;
        if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
        try {
            Job job = defaults.job;
            for (const auto& [key, value] : json::ParseObject(text)) {
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
            if (!job.coefficients) {
                if (!storeCoefficients) storeCoefficients = Coefficients(job, services);
                job.coefficients = storeCoefficients;
            }
            outcome.design = TWormDesign{};  // each design on its own
            CalculateInto(outcome, job.fields, job.roundTeeth, *job.coefficients, separator);
            CheckDesign(job.fields, *job.coefficients, outcome, separator, findings);
            if (!outcome.succeeded()) status = std::max(status, 1);
            if (defaults.check && AnyError(findings)) status = std::max(status, 1);
            written.clear();
            if (defaults.csv) {
                AppendDesignRow(written, job.fields, outcome, Worst(findings), separator);
            } else if (defaults.check) {
                AppendChecksOnlyJson(written, findings, separator);
            } else {
                AppendOutcomeJson(written, outcome, findings, separator);
            }
            out.write(written.data(), static_cast<std::streamsize>(written.size()));
        } catch (const StoreFailure& e) {
            const std::string reason = "line " + std::to_string(lineNumber) + ": " + e.what();
            if (defaults.csv) {
                out << std::string(TableFields().size() + kResultCount, ',') << "error:coefficients-unreadable\n";
                err << "wormcalc: " << reason << '\n';
            } else {
                out << "{\"error\":" << json::Quote(reason) << ",\"lines\":[]}\n";
            }
            status = std::max(status, 1);
        } catch (const std::exception& e) {
            const std::string reason = "line " + std::to_string(lineNumber) + ": " + e.what();
            if (defaults.csv) {
                // Every cell empty but the last; the reason goes to the error stream.
                out << std::string(TableFields().size() + kResultCount, ',') << "error:unreadable-line\n";
                err << "wormcalc: " << reason << '\n';
            } else {
                out << "{\"error\":" << json::Quote(reason) << ",\"lines\":[]}\n";
            }
            status = 2;
        }
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

int RunWormcalc(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err,
                const WormcalcServices& services, char decimalSeparator) {
    Options options;
    try {
        options = ParseArguments(arguments);
        // Fields no option sets start from the window's defaults, numbers in
        // the user's notation ("0,3" where the separator is ',').
        const DesignInputs defaults = DefaultInputs(decimalSeparator);
        for (const DesignFieldDescription& field : DesignFields()) {
            if (!options.job.given[static_cast<std::size_t>(field.field)])
                options.job.fields.*field.text = defaults.*field.text;
        }
        if (options.help) {
            out << kUsage;
            return 0;
        }
        if (options.jsonl) return RunBatch(options, in, out, err, services, decimalSeparator);

        Job& job = options.job;
        if (job.designFile) {
            if (!services.readDesignFile) throw UsageError("this build cannot read design files");
            DesignInputs fromFile;
            try {
                fromFile = services.readDesignFile(*job.designFile);
            } catch (const std::exception& e) {
                err << "wormcalc: cannot open the design file \"" << *job.designFile << "\": " << e.what() << '\n';
                return 1;
            }
            // Options given beside the file override its texts.
            for (const DesignFieldDescription& field : DesignFields()) {
                if (!job.given[static_cast<std::size_t>(field.field)]) job.fields.*field.text = fromFile.*field.text;
            }
        }
        if (options.suggest) return RunSuggest(job, options.json, services, out, decimalSeparator);
        if (options.sweeping) {
            SweepJob sweep{options.sweep,
                           job.fields,
                           job.roundTeeth,
                           Coefficients(job, services),
                           options.csv,
                           options.threads != 0 ? options.threads
                                                : std::max(1, static_cast<int>(std::thread::hardware_concurrency()))};
            return RunSweep(sweep, out, decimalSeparator);
        }

        const TCoefficientTable coefficients = Coefficients(job, services);
        const CalculationOutcome outcome = wormgear::Calculate(job.fields, job.roundTeeth, coefficients,
                                                               decimalSeparator);
        const std::vector<Finding> findings = CheckDesign(job.fields, coefficients, outcome, decimalSeparator);
        if (options.check) {
            if (options.json) {
                std::string json;
                AppendChecksOnlyJson(json, findings, decimalSeparator);
                out << json;
            } else {
                WriteFindingsText(out, findings, decimalSeparator);
            }
            return AnyError(findings) ? 1 : 0;
        }
        if (options.csv) {
            std::string csv = DesignTableHeader();
            AppendDesignRow(csv, job.fields, outcome, Worst(findings), decimalSeparator);
            out << csv;
        } else if (options.json) {
            WriteJsonOutcome(out, outcome, findings, decimalSeparator);
        } else {
            WriteTextOutcome(out, err, outcome, findings, decimalSeparator);
        }
        // A design whose calculation failed is never exported or drawn.
        if (!outcome.succeeded()) return 1;

        for (const auto& [sheet, path] : job.exports) {
            if (!services.writeSheet) throw UsageError("this build cannot write sheets");
            try {
                services.writeSheet(sheet, job.fields, outcome.design, path);
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
                    services.writeDrawing(request, *calculated, job.designFile.value_or(""));
                } catch (const std::exception& e) {
                    err << "wormcalc: \"" << request.path << "\" could not be written: " << e.what() << '\n';
                    return 1;
                }
            }
        }
        return 0;
    } catch (const UsageError& e) {
        err << "wormcalc: " << e.what() << '\n';
        return 2;
    } catch (const StoreFailure& e) {
        err << "wormcalc: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace wormgear
