#!/usr/bin/python3
"""Mutation run: plant one small fault at a time and see whether the tests notice.

    scripts/mutate.py BUILD [--source DIR] [--only ID ...] [--whole] [--list]

Each mutant below is one or more exact edits of a source file (the original
text must occur exactly once in it) with what the fault means. For each
mutant the script writes the edits into the source, builds the targets the
mutant affects in the build folder BUILD (configured with BUILD_TESTING and
the test command's options), runs its ctest subset (`-R` regex; the whole
ctest with --whole) and puts the source back, whatever happens (also on
Ctrl-C; a copy of each edited file is kept as FILE.mutate-orig until it is
back, and a later run puts back any such copy first). A mutant is

    killed      a test of its subset failed,
    survived    the build succeeded and every test of the subset passed,
    not built   the mutated source did not compile (a mutant to rewrite),

and the run ends with a table of them (Markdown, for HACKING.md's "Mutation
run"). At the end the targets are built once more from the restored source,
so that the build folder matches the checkout again.

Run it on demand (it is not part of ctest or CI), on a quiet checkout or a
scratch copy (--source): a mutant is live in the source while it builds.
Exit status 0 when every mutant was killed, 1 when one survived or did not
build, 2 on a usage error or a mutant whose original text is not found.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import time

# (id, meaning, [(file, original, replacement), ...], build targets, ctest regex)
MUTANTS = [
    # --- drawing: the DXF, as ezdxf reads it back ---------------------------------
    ("dxf-arcs-mirrored", "every arc's sense flipped: ARC angles negated, outline bulges negated",
     [("drawing/dxf_writer.cpp", "            s.real(50, arc.start);\n            s.real(51, arc.end);",
       "            s.real(50, -arc.end);\n            s.real(51, -arc.start);"),
      ("drawing/dxf_writer.cpp", "if (v.bulge != 0) s.real(42, v.bulge);", "if (v.bulge != 0) s.real(42, -v.bulge);")],
     ["wormcalc"], r"^drawing_outputs_read_back$"),
    ("dxf-bulges-negated", "outline arcs bulge to the other side of their chords (ARC entities kept)",
     [("drawing/dxf_writer.cpp", "if (v.bulge != 0) s.real(42, v.bulge);", "if (v.bulge != 0) s.real(42, -v.bulge);")],
     ["wormcalc"], r"^drawing_outputs_read_back$"),
    ("dxf-arc-angles-negated", "ARC entities mirrored about their centre's horizontal (outlines kept)",
     [("drawing/dxf_writer.cpp", "            s.real(50, arc.start);\n            s.real(51, arc.end);",
       "            s.real(50, -arc.end);\n            s.real(51, -arc.start);")],
     ["wormcalc"], r"^drawing_outputs_read_back$"),
    ("dxf-arcs-complemented", "every ARC entity drawn the other way round (start and end swapped)",
     [("drawing/dxf_writer.cpp", "            s.real(50, arc.start);\n            s.real(51, arc.end);",
       "            s.real(50, arc.end);\n            s.real(51, arc.start);")],
     ["wormcalc"], r"^drawing_outputs_read_back$"),
    ("sheet-bulges-negated", "every outline arc of the sheets turned the other way, in every format",
     [("drawing/sheet_builder.cpp", "return std::tan(sweep * std::numbers::pi / 180 / 4);",
       "return -std::tan(sweep * std::numbers::pi / 180 / 4);")],
     ["drawing_tests", "wormcalc"], r"^(Drawings|Geometry|TrueForms|DxfText|Scale|drawing_outputs_read_back$)"),
    ("dxf-outline-open", "outlines written as open polylines",
     [("drawing/dxf_writer.cpp", "s.integer(70, 1);  // closed", "s.integer(70, 0);  // closed")],
     ["wormcalc"], r"^drawing_outputs_read_back$"),
    ("dxf-circle-diameter", "a circle's diameter written as its radius",
     [("drawing/dxf_writer.cpp", "s.real(40, circle.radius);", "s.real(40, 2 * circle.radius);")],
     ["wormcalc"], r"^drawing_outputs_read_back$"),
    ("bulge-full-turn", "a counter-clockwise arc of no sweep taken as none instead of a full turn",
     [("drawing/sheet_builder.cpp", "if (counterClockwise && sweep <= 0) sweep += 360;",
       "if (counterClockwise && sweep < 0) sweep += 360;")],
     ["drawing_tests", "wormcalc"], r"^(Drawings|Geometry|TrueForms|DxfText|Scale|drawing_outputs_read_back$)"),
    ("arc-of-bulge-sense", "a bulge's arc read clockwise at bulge >= 0 (bulge 0 has no arc)",
     [("drawing/sheet_builder.cpp", "arc.start = bulge > 0 ? from : to;", "arc.start = bulge >= 0 ? from : to;")],
     ["drawing_tests", "wormcalc"], r"^(Drawings|Geometry|TrueForms|DxfText|Scale|drawing_outputs_read_back$)"),
    ("ticks-unordered", "axis ticks of a range given high to low",
     [("drawing/axis_ticks.cpp", "if (lowest > highest) std::swap(lowest, highest);", "")],
     ["drawing_tests"], r"^RoundTicks"),
    # --- calc: the design checks --------------------------------------------------
    ("checks-z1-zero-twice", "z1 = 0 also reported as negative starts: a second error finding",
     [("calc/checks.cpp", "if (v < 0) add(C::StartsNegative, {v});", "if (v <= 0) add(C::StartsNegative, {v});")],
     ["calc_tests", "wormcalc"], r"^(golden_designs$|ChecksTest)"),
    ("checks-worm-tip-zero", "a worm tip width of exactly 0 treated like a positive one",
     [("calc/checks.cpp", "if (d.WormTipWidth <= 0) add(", "if (d.WormTipWidth < 0) add(")],
     ["calc_tests", "wormcalc"], r"^(golden_designs$|ChecksTest)"),
    ("checks-hob-tip-zero", "a hob tip width of exactly 0 treated like a positive one",
     [("calc/checks.cpp", "if (d.HobTipWidth <= 0) add(", "if (d.HobTipWidth < 0) add(")],
     ["calc_tests", "wormcalc"], r"^(golden_designs$|ChecksTest)"),
    ("checks-ratio-ten-e", "E other than 0 at a speed ratio of exactly 10 warned about as above 10",
     [("calc/checks.cpp", "if (i > 10 && E != 0) add(", "if (i >= 10 && E != 0) add(")],
     ["calc_tests", "wormcalc"], r"^(golden_designs$|ChecksTest)"),
    ("checks-band-lower-edge", "a centre distance on a backlash band's lower edge left out of the band",
     [("calc/checks.cpp", "if (a < band.fromCentreDistance || a > band.toCentreDistance) continue;",
       "if (a <= band.fromCentreDistance || a > band.toCentreDistance) continue;")],
     ["calc_tests", "wormcalc"], r"^(golden_designs$|ChecksTest)"),
    ("checks-backlash-edge", "a backlash on the band's low end warned about",
     [("calc/checks.cpp", "} else if (jn < low || jn > high) {", "} else if (jn <= low || jn > high) {")],
     ["calc_tests", "wormcalc"], r"^(golden_designs$|ChecksTest)"),
    ("checks-order", "findings best first instead of worst first",
     [("calc/checks.cpp", "findings_[k - 1].severity() < findings_[k].severity()",
       "findings_[k - 1].severity() > findings_[k].severity()")],
     ["calc_tests", "wormcalc"], r"^(golden_designs$|ChecksTest)"),
    # --- calc: the chains ---------------------------------------------------------
    ("root-arc-two-places", "the worm root arc radius rounded to 2 places instead of 3",
     [("calc/calculation.cpp", "d_.WormRootArcRadius = R3(A - static_cast<Extended>(d_.ThroatRootDiameter) / 2);",
       "d_.WormRootArcRadius = R2(A - static_cast<Extended>(d_.ThroatRootDiameter) / 2);")],
     ["wormcalc"], r"^golden_designs$"),
    ("angular-pitch-two-places", "the angular pitch 360/z2 rounded to 2 places",
     [("calc/calculation.cpp", "d_.AngularPitch = R3(Divide(360, d_.WheelTeeth));",
       "d_.AngularPitch = R2(Divide(360, d_.WheelTeeth));")],
     ["wormcalc"], r"^golden_designs$"),
    # --- sweep --------------------------------------------------------------------
    ("sweep-upper-end", "a sweep range's upper end never checked for a step too small there (its first two values twice)",
     [("sweep/sweep.cpp", "const std::uint64_t last = range.count() - 1;", "const std::uint64_t last = 1;")],
     ["sweep_tests"], r"^Sweep"),
    ("sweep-single-value", "a range of one value (FROM = TO) refused",
     [("sweep/decimal_range.cpp", "if (last < first) {", "if (last <= first) {")],
     ["sweep_tests"], r"^(Sweep|DecimalRange)"),
    ("sweep-trailing-zero", "the last trailing zero of a value's text kept (0.60)",
     [("sweep/decimal_range.cpp", "while (scale > 0 && magnitude % 10 == 0) {",
       "while (scale > 1 && magnitude % 10 == 0) {")],
     ["sweep_tests"], r"^(Sweep|DecimalRange)"),
    ("csv-comma-unquoted", "a CSV field with a comma left unquoted",
     [("sweep/design_table.cpp", "[](char c) { return c == ',' || c == '\"' || c == '\\r' || c == '\\n'; });",
       "[](char c) { return c == '\"' || c == '\\r' || c == '\\n'; });")],
     ["sweep_tests", "wormcalc"], r"^(DesignTable|wormcalc_outputs_read_back)"),
    # --- solutions ----------------------------------------------------------------
    ("solutions-empty-first", "the table's empty cells sorted first",
     [("solutions/solution_table.cpp", "if (a.missing != b.missing) return b.missing;",
       "if (a.missing != b.missing) return a.missing;")],
     ["solutions_tests"], r"^Solution"),
    ("solutions-filter-inverted", "'without errors' keeps only the designs with errors",
     [("solutions/solution_table.cpp", "if (withoutErrors && table.row(design).hasError()) continue;",
       "if (withoutErrors && !table.row(design).hasError()) continue;")],
     ["solutions_tests"], r"^Solution"),
    ("solutions-row-bound", "a table one row beyond the workbook's most rows accepted (the header row not counted)",
     [("solutions/solution_table.cpp", "if (order.size() + 1 > TableWorkbook::kMostRows) {",
       "if (order.size() > TableWorkbook::kMostRows) {")],
     ["solutions_tests"], r"^Solution"),
    # --- export -------------------------------------------------------------------
    ("number-cell-any-text", "any text that parses becomes a number cell, also one FormatReal would not give back",
     [("export/number_cells.cpp", "if (FormatReal(value, decimalSeparator) != text) return std::nullopt;", "")],
     ["workbook_tests"], r"^(NumberCell|Workbook|Sheet|Openpyxl)"),
    ("number-cell-smallest", "the smallest normal double refused as a number cell",
     [("export/number_cells.cpp", "(magnitude < DBL_MIN || magnitude > kLargestCellNumber)",
       "(magnitude <= DBL_MIN || magnitude > kLargestCellNumber)")],
     ["workbook_tests"], r"^(NumberCell|Workbook|Sheet|Openpyxl)"),
    # --- the JSON codec -----------------------------------------------------------
    ("json-unit-separator-raw", "the control character U+001F written raw into a JSON string",
     [("json/json.cpp", "if (c >= 0x20 && c != '\"' && c != '\\\\') continue;",
       "if (c >= 0x1F && c != '\"' && c != '\\\\') continue;")],
     ["json_tests", "wormcalc"], r"^(Json|wormcalc_outputs_read_back)"),
]

BACKUP = ".mutate-orig"


def restore_leftovers(source):
    """Puts back the files a killed earlier run left mutated."""
    for _, _, edits, _, _ in MUTANTS:
        for path, _, _ in edits:
            full = os.path.join(source, path)
            if os.path.exists(full + BACKUP):
                os.replace(full + BACKUP, full)
                print("restored %s from an earlier run" % path)


def mutated_texts(source, edits):
    """{path: (original text, mutated text)}; exits when an original does not occur exactly once."""
    texts = {}
    for path, original, replacement in edits:
        full = os.path.join(source, path)
        if full not in texts:
            with open(full, encoding="utf-8") as f:
                text = f.read()
            texts[full] = (text, text)
        before, now = texts[full]
        if now.count(original) != 1:
            sys.exit("%s: the text %r occurs %d times (must be once)" % (path, original, now.count(original)))
        texts[full] = (before, now.replace(original, replacement))
    return texts


def run(command, log):
    with open(log, "ab") as out:
        out.write(("\n$ %s\n" % " ".join(command)).encode())
        out.flush()
        return subprocess.run(command, stdout=out, stderr=subprocess.STDOUT).returncode


def build(build_dir, targets, log):
    return run(["cmake", "--build", build_dir, "-j2", "--target"] + targets, log) == 0


def tests(build_dir, regex, whole, log):
    command = ["ctest", "--test-dir", build_dir, "-j2", "--output-on-failure", "--timeout", "900"]
    if not whole:
        command += ["-R", regex]
    with open(log, "ab") as out:
        out.write(("\n$ %s\n" % " ".join(command)).encode())
        done = subprocess.run(command, capture_output=True)
        out.write(done.stdout + done.stderr)
    text = done.stdout.decode("utf-8", "replace")
    if "No tests were found" in text:
        return "no tests"
    match = re.search(r"(\d+)% tests passed, (\d+) tests failed out of (\d+)", text)
    skipped = len(re.findall(r"\*\*\*Skipped", text))
    total = int(match.group(3)) if match else 0
    if done.returncode != 0:
        return "killed"
    return "survived" if skipped < total else "survived (all skipped)"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build", nargs="?", help="the build folder")
    parser.add_argument("--source", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                        help="the checkout to mutate (default: this script's)")
    parser.add_argument("--only", nargs="+", metavar="ID", help="only these mutants")
    parser.add_argument("--whole", action="store_true", help="run the whole ctest for every mutant")
    parser.add_argument("--list", action="store_true", help="list the mutants and check their texts")
    options = parser.parse_args()

    restore_leftovers(options.source)
    chosen = [m for m in MUTANTS if not options.only or m[0] in options.only]
    if options.only and len(chosen) != len(set(options.only)):
        sys.exit("unknown mutant: %s" % ", ".join(set(options.only) - {m[0] for m in chosen}))
    for mutant in chosen:
        mutated_texts(options.source, mutant[2])  # every original found once, before any work
    if options.list:
        for ident, meaning, edits, targets, regex in chosen:
            print("%-26s %-28s %s" % (ident, edits[0][0], meaning))
        return 0
    if not options.build:
        parser.error("the build folder is needed")
    build_dir = os.path.abspath(options.build)
    log = os.path.join(build_dir, "mutate.log")
    open(log, "w").close()

    # A signal ends the run through the finally below, which puts the source back.
    def stop(signum, _frame):
        raise KeyboardInterrupt("signal %d" % signum)
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)

    results, all_targets = [], set()
    try:
        for ident, meaning, edits, targets, regex in chosen:
            all_targets.update(targets)
            texts = mutated_texts(options.source, edits)
            started = time.monotonic()
            try:
                for full, (original, mutated) in texts.items():
                    with open(full + BACKUP, "w", encoding="utf-8") as f:
                        f.write(original)
                    with open(full, "w", encoding="utf-8") as f:
                        f.write(mutated)
                if build(build_dir, targets, log):
                    outcome = tests(build_dir, regex, options.whole, log)
                else:
                    outcome = "not built"
            finally:
                for full, (original, _) in texts.items():
                    with open(full, "w", encoding="utf-8") as f:
                        f.write(original)
                    os.remove(full + BACKUP)
            results.append((ident, edits[0][0], meaning, outcome))
            print("%-26s %-16s %4.0f s  %s" % (ident, outcome, time.monotonic() - started, meaning), flush=True)
    except KeyboardInterrupt:
        print("stopped; the source is restored", file=sys.stderr)
    finally:
        if all_targets:
            build(build_dir, sorted(all_targets), log)

    print()
    print("| mutant | file | what it means | result |")
    print("|---|---|---|---|")
    for ident, path, meaning, outcome in results:
        print("| `%s` | `%s` | %s | %s |" % (ident, path, meaning, outcome))
    killed = sum(1 for r in results if r[3] == "killed")
    print()
    print("%d mutants: %d killed, %d survived, %d not built (log: %s)" % (
        len(results), killed, sum(1 for r in results if r[3].startswith("survived")),
        sum(1 for r in results if r[3] in ("not built", "no tests")), log))
    return 0 if killed == len(results) == len(chosen) else 1


if __name__ == "__main__":
    sys.exit(main())
