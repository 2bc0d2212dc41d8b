#!/usr/bin/python3
"""wormcalc's CSV and JSON outputs read back by Python's own csv and json readers.

    outputs_read_back.py WORMCALC

Every table has its header and 44 cells a row, every result cell is a number
with '.', the CSV and the JSON of the same designs agree number for number,
swept values are the exact decimals of the range (worked out here with
Python's decimal module), and each check has its six keys. Exit 1 on the
first difference.
"""

import csv
import decimal
import io
import json
import subprocess
import sys

COEFFICIENTS = "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9"
EXAMPLE = ["--centre-distance", "200", "--speed-ratio", "25", "--teeth", "50", "--starts", "2",
           "--base-diameter", "130", "--pitch-diameter", "78", "--coefficients", COEFFICIENTS]
FIELDS = ["centre-distance", "speed-ratio", "teeth", "starts", "base-diameter", "eccentricity",
          "pitch-diameter", "backlash", "grinding-increment"]
SYMBOLS = ["d2", "E", "Rf1", "L", "Ra1", "ls", "Db", "β", "α", "sn1", "h1", "mt", "K", "φ", "γ", "da1max",
           "sa1", "Ra0", "Rf0", "L0", "sn0", "h0", "K0", "sa0", "de2", "da2", "b2", "sn2", "h2", "Ra2",
           "βm", "im", "Am", "Dbm"]
# The labels of the result lines in panel order, beside the symbols above.
LABELS = ["Label23", "Label24", "Label8", "Label10", "Label9", "Label11", "Label12", "Label13", "Label14", "Label16",
          "Label17", "Label25", "Label26", "Label27", "Label28", "Label48", "Label43", "Label18", "Label19", "Label20",
          "Label21", "Label22", "Label29", "Label49", "Label33", "Label35", "Label34", "Label44", "Label45", "Label40",
          "Label41", "Label42", "Label51", "Label52"]
CHECK_KEYS = {"severity", "code", "fields", "message", "suggestion", "values"}


def run(wormcalc, args, stdin=""):
    done = subprocess.run([wormcalc] + args, input=stdin.encode("utf-8"), capture_output=True)
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")


def expect(condition, what):
    if not condition:
        sys.exit("outputs_read_back: " + what)


def table(text):
    rows = list(csv.reader(io.StringIO(text, newline="")))
    expect(rows and rows[0] == FIELDS + SYMBOLS + ["check"], "header: %r" % (rows[:1],))
    for row in rows[1:]:
        expect(len(row) == 44, "a row of %d cells: %r" % (len(row), row))
        for cell in row[9:43]:
            if cell:
                float(cell)  # a number Python reads, '.' as its point
                expect("," not in cell, "a number with a comma: " + cell)
        expect(row[43] == "" or row[43].split(":")[0] in ("error", "warning", "info"), "check cell " + row[43])
    return rows[1:]


def number_of(line_text):
    """The number of a result line: the text before its run of hyphens."""
    return line_text[:line_text.index("----")]


def check_objects(checks):
    for check in checks:
        expect(set(check) == CHECK_KEYS, "check keys %r" % sorted(check))
        expect(check["severity"] in ("error", "warning", "info"), "severity " + check["severity"])
        expect(all(field in FIELDS for field in check["fields"]), "fields %r" % check["fields"])
        expect(isinstance(check["message"], str) and check["message"], "message")
        expect(all(isinstance(v, (int, float)) for v in check["values"].values()), "values %r" % check["values"])


def main(wormcalc):
    # One design: the CSV row and the JSON object agree.
    status, out, _ = run(wormcalc, EXAMPLE + ["--csv"])
    expect(status == 0, "--csv status %d" % status)
    rows = table(out)
    expect(len(rows) == 1, "one design, %d rows" % len(rows))
    status, out, _ = run(wormcalc, EXAMPLE + ["--json"])
    design = json.loads(out)
    expect(design["checks"] == [], "the worked example has no finding")
    expect([number_of(line["text"]) for line in design["lines"]] == rows[0][9:43], "CSV against JSON")
    expect(rows[0][:9] == ["200", "25", "50", "2", "130", "0", "78", "0.3", "0.2"], "input texts %r" % rows[0][:9])

    # A failing design: the checks name the cause with its values.
    status, out, _ = run(wormcalc, EXAMPLE + ["--base-diameter", "400", "--json"])
    failed = json.loads(out)
    expect(status == 1 and "error" in failed, "Db 400 fails")
    check_objects(failed["checks"])
    first = failed["checks"][0]
    expect(first["code"] == "pressure-angle-undefined", first["code"])
    expect(first["fields"] == ["centre-distance", "base-diameter", "pitch-diameter"], "fields %r" % first["fields"])
    expect(first["values"] == {"Db": 400, "d2": 322}, "values %r" % first["values"])

    # A sweep: exact decimal values, rows in order, CSV and JSON lines alike.
    sweep = ["--sweep", "base-diameter=126:134.5:0.35", "--sweep", "backlash=0.1:0.3:0.05"]
    status, out, _ = run(wormcalc, EXAMPLE + sweep + ["--csv", "--threads", "2"])
    rows = table(out)
    step, bases, value = decimal.Decimal("0.35"), [], decimal.Decimal("126")
    while value <= decimal.Decimal("134.5"):
        bases.append(value)
        value += step
    backlashes = [decimal.Decimal("0.1") + k * decimal.Decimal("0.05") for k in range(5)]
    expect(len(rows) == len(bases) * len(backlashes), "%d rows" % len(rows))
    for n, row in enumerate(rows):
        base, backlash = bases[n // len(backlashes)], backlashes[n % len(backlashes)]
        expect(decimal.Decimal(row[4]) == base and row[4] == format(base.normalize(), "f"), "Db %s" % row[4])
        expect(decimal.Decimal(row[7]) == backlash and row[7] == format(backlash.normalize(), "f"), "jn " + row[7])
    status, out, _ = run(wormcalc, EXAMPLE + sweep)
    objects = [json.loads(line) for line in out.splitlines()]
    expect(len(objects) == len(rows), "JSON lines %d" % len(objects))
    for row, design in zip(rows, objects):
        expect([design["inputs"][field] for field in FIELDS] == row[:9], "inputs %r" % design["inputs"])
        numbers = [""] * 34
        for line in design["lines"]:
            numbers[LABELS.index(line["label"])] = number_of(line["text"])
        expect(numbers == row[9:43], "numbers of %r" % row[:9])
        check_objects(design["checks"])
        worst = design["checks"][0] if design["checks"] else None
        expect(row[43] == ("%s:%s" % (worst["severity"], worst["code"]) if worst else ""), "worst " + row[43])

    # A batch as a table, a text with a comma quoted and read back whole.
    batch = "\n".join(json.dumps(dict(zip(FIELDS[:7], texts)), ensure_ascii=False) for texts in [
        ["200", "25", "50", "2", "130", "0", "78"],
        ["200", "25", "50", "2", "130", "1,5", "78"],
    ]) + "\n"
    status, out, _ = run(wormcalc, ["--jsonl", "--csv", "--coefficients", COEFFICIENTS], batch)
    rows = table(out)
    expect(len(rows) == 2 and rows[1][5] == "1,5", "quoted field %r" % rows[1][5:6])
    expect(rows[1][43] == "error:eccentricity-not-a-number", rows[1][43])
    print("outputs_read_back: every table and object read back")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
