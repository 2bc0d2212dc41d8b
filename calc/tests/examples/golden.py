#!/usr/bin/python3
"""Golden designs: run a calculator over the designs of this folder and compare.

    golden.py check WORMCALC [DIR]      compare; exit 1 on any difference
    golden.py check --lines-only WORMCALC [DIR]
                                        the same without the design checks
    golden.py accept WORMCALC [DIR]     show the differences, then rewrite the
                                        expected files from WORMCALC's output
    golden.py reference [DIR]           show the differences, then rewrite the
                                        expected files from reference.py

WORMCALC is a command line (split like a shell would, so
"/usr/bin/python3 reference.py --mutate hob-length" works too); it is run as
WORMCALC --jsonl < NAME.jsonl for every NAME.jsonl in DIR (default: the folder
of this script), and its output lines are compared with NAME.expected.jsonl.

Only what the expected objects hold is compared: the failure message ("error",
absent when the calculation succeeds), the result lines as label -> text, and
the design checks in their order (worst first) by severity, code and fields.
Other fields the calculator prints (values, symbols, the checks' messages and
values) are ignored.

The reference calculates the numbers only, never the checks: `reference`
keeps the checks the expected files hold, and `check --lines-only` compares
without them (for the reference standing in for the program).
"""

import glob
import json
import os
import shlex
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def designs(path):
    """(file line number, design text) of every non-blank input line."""
    with open(path, encoding="utf-8") as f:
        return [(n, line.rstrip("\n")) for n, line in enumerate(f, 1) if line.strip()]


def compared(result):
    """The compared part of a result object: (error or None, {label: text})."""
    return result.get("error"), {line["label"]: line["text"] for line in result.get("lines", [])}


def checks_of(result):
    """The design checks of a result object, worst first: ["severity:code(field,...)", ...],
    or None when the object carries no "checks" at all."""
    if "checks" not in result:
        return None
    return ["%s:%s(%s)" % (c["severity"], c["code"], ",".join(c["fields"])) for c in result["checks"]]


def stored(result, checks_from=None):
    """The compared part of a result object, in the form the expected files keep;
    the checks from `checks_from` where given (the reference calculates none)."""
    kept = {"error": result["error"]} if "error" in result else {}
    kept["lines"] = [{"label": line["label"], "text": line["text"]} for line in result.get("lines", [])]
    source = result if checks_from is None else checks_from
    if "checks" in source:
        kept["checks"] = [{"severity": c["severity"], "code": c["code"], "fields": c["fields"]}
                          for c in source["checks"]]
    return kept


def run(command, path, count):
    with open(path, "rb") as source:
        done = subprocess.run(command + ["--jsonl"], stdin=source, capture_output=True)
    if done.returncode not in (0, 1):
        sys.stderr.write(done.stderr.decode("utf-8", "replace"))
    outputs = [json.loads(line) for line in done.stdout.decode("utf-8").splitlines() if line.strip()]
    if len(outputs) != count:
        sys.exit("%s: %d designs but %d results from %s" % (path, count, len(outputs), shlex.join(command)))
    return outputs


def differences(expected, got, with_checks):
    """Readable lines for every compared difference of one design."""
    (want_error, want_lines), (got_error, got_lines) = compared(expected), compared(got)
    out = []
    if with_checks and checks_of(expected) != checks_of(got):
        out.append("  checks: expected %s, got %s" % (checks_of(expected), checks_of(got)))
    if want_error != got_error:
        out.append("  error: expected %s, got %s" % (json.dumps(want_error, ensure_ascii=False),
                                                      json.dumps(got_error, ensure_ascii=False)))
    if bool(want_lines) != bool(got_lines):  # one side wrote no line at all
        return out + ["  lines: expected %d, got %d" % (len(want_lines), len(got_lines))]
    for label in list(want_lines) + [l for l in got_lines if l not in want_lines]:
        want, have = want_lines.get(label), got_lines.get(label)
        if want != have:
            out.append("  %s: expected %s, got %s" % (
                label, "(no line)" if want is None else want, "(no line)" if have is None else have))
    return out


def compare_folder(command, folder, rewrite, with_checks=True):
    failed = 0
    inputs = sorted(p for p in glob.glob(os.path.join(folder, "*.jsonl")) if not p.endswith(".expected.jsonl"))
    if not inputs:
        sys.exit("no designs (NAME.jsonl) in %s" % folder)
    for path in inputs:
        name = os.path.basename(path)
        expected_path = path[:-len(".jsonl")] + ".expected.jsonl"
        lines = designs(path)
        results = run(command, path, len(lines))
        expected = [json.loads(t) for _, t in designs(expected_path)] if os.path.exists(expected_path) else []
        if len(expected) != len(lines):
            print("%s: %d designs but %d expected results" % (name, len(lines), len(expected)))
            failed += 1
        for index, ((number, text), got) in enumerate(zip(lines, results)):
            diff = (differences(expected[index], got, with_checks) if index < len(expected)
                    else ["  (no expected result)"])
            if diff:
                failed += 1
                print("%s design %d (line %d): %s" % (name, index + 1, number, text[:160]))
                print("\n".join(diff))
        if rewrite:
            with open(expected_path, "w", encoding="utf-8") as f:
                for index, got in enumerate(results):
                    kept = expected[index] if not with_checks and index < len(expected) else {}
                    f.write(json.dumps(stored(got, kept if not with_checks else None), ensure_ascii=False,
                                       separators=(",", ":")) + "\n")
        print("%s: %d designs" % (name, len(lines)))
    print("%d difference(s)%s" % (failed, "; expected files rewritten" if rewrite else ""))
    return 1 if failed and not rewrite else 0


def main(argv):
    lines_only = len(argv) >= 1 and argv[0] == "check" and "--lines-only" in argv
    if lines_only:
        argv = [a for a in argv if a != "--lines-only"]
    if len(argv) >= 2 and argv[0] in ("check", "accept") and len(argv) <= 3:
        folder = argv[2] if len(argv) == 3 else HERE
        return compare_folder(shlex.split(argv[1]), folder, rewrite=argv[0] == "accept", with_checks=not lines_only)
    if argv and argv[0] == "reference" and len(argv) <= 2:
        folder = argv[1] if len(argv) == 2 else HERE
        return compare_folder([sys.executable, os.path.join(HERE, "reference.py")], folder, rewrite=True,
                              with_checks=False)
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
