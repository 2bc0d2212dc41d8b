#!/usr/bin/python3
"""wormcalc's CSV and JSON outputs read back by Python's own csv and json readers.

    outputs_read_back.py WORMCALC                 the outputs as the C locale writes them
    outputs_read_back.py WORMCALC comma-locale    the same in de_DE.UTF-8 (exit 77 where
                                                  that locale cannot be made)

Every table has its header and 44 cells a row, every result cell is a number
with '.', the CSV and the JSON of the same designs agree number for number,
swept values are the exact decimals of the range (worked out here with
Python's decimal module), and each check has its six keys. Each JSON line's
"value" is the number its text shows (read as a decimal), with the symbol,
name and unit of its label; the output is UTF-8 also for input that is not
(each ill-formed sequence one U+FFFD, as Python's own decoder replaces it); an
output that cannot be written (/dev/full) fails with status 1 and a message.
In a comma locale the display texts use ',' and every number other programs
read '.'. Exit 1 on the first difference.
"""

import csv
import decimal
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile

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
LINE_KEYS = {"label", "symbol", "name", "unit", "value", "text"}
# Units of the results: the angles are in degrees, the tooth counts and the
# modification ratio have none, every other result is a length in millimetres.
DEGREES = {"β", "α", "φ", "γ", "βm"}
NO_UNIT = {"K", "K0", "im"}


def run(wormcalc, args, stdin="", env=None):
    """Status, output and error output of a run; both outputs must be UTF-8."""
    done = subprocess.run([wormcalc] + args, input=stdin if isinstance(stdin, bytes) else stdin.encode("utf-8"),
                          capture_output=True, env=env)
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


def check_lines(lines, separator="."):
    """Each shown value: its "value" is the number of its text, exactly, and
    its symbol, name and unit are those of its label."""
    symbols = [line["symbol"] for line in lines]
    expect(len(set(symbols)) == len(symbols), "symbols repeat: %r" % symbols)
    for line in lines:
        expect(set(line) == LINE_KEYS, "line keys %r" % sorted(line))
        symbol = SYMBOLS[LABELS.index(line["label"])]
        expect(line["symbol"] == symbol, "%s has the symbol %s" % (line["label"], line["symbol"]))
        shown = number_of(line["text"])
        expect(isinstance(line["value"], decimal.Decimal), "value %r is no JSON number" % (line["value"],))
        expect(line["value"] == decimal.Decimal(shown.replace(separator, ".")), "value %s for the text %s" %
               (line["value"], line["text"]))
        expect(line["name"] == line["text"][len(shown):].lstrip("-"), "name " + line["name"])
        unit = "°" if symbol in DEGREES else "" if symbol in NO_UNIT else "mm"
        expect(line["unit"] == unit, "%s in %r" % (symbol, line["unit"]))


def decimals(text):
    """A JSON text with its numbers read as exact decimals."""
    return json.loads(text, parse_float=decimal.Decimal, parse_int=decimal.Decimal)


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

    values(wormcalc)
    english(wormcalc)
    not_utf8(wormcalc)
    full_disk(wormcalc)
    print("outputs_read_back: every table and object read back")


def english(wormcalc):
    """--language en: the same lines, numbers and symbols with English names
    and texts; without it the Chinese output whatever the locale says."""
    chinese_locale = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", LANGUAGE="")
    english_locale = dict(os.environ, LANG="en_US.UTF-8", LC_ALL="", LC_MESSAGES="", LANGUAGE="en")
    _, as_c, _ = run(wormcalc, EXAMPLE + ["--json"], env=chinese_locale)
    _, as_en_locale, _ = run(wormcalc, EXAMPLE + ["--json"], env=english_locale)
    expect(as_c == as_en_locale, "the locale changed wormcalc's texts")
    status, out, _ = run(wormcalc, EXAMPLE + ["--json", "--language", "en"])
    expect(status == 0, "--language en status %d" % status)
    chinese, english = decimals(as_c), decimals(out)
    check_lines(english["lines"])
    expect(english["lines"][0]["name"] == "wheel pitch diameter", "name %r" % english["lines"][0]["name"])
    expect(english["lines"][0]["text"] == "322-----wheel pitch diameter", "text %r" % english["lines"][0]["text"])
    for zh, en in zip(chinese["lines"], english["lines"]):
        expect((zh["label"], zh["symbol"], zh["unit"], zh["value"]) == (en["label"], en["symbol"], en["unit"],
                                                                        en["value"]), "line %r" % en)
        expect(number_of(zh["text"]) == number_of(en["text"]), "number of %r" % en["text"])
        expect(en["name"].isascii() and en["name"] != zh["name"], "English name %r" % en["name"])
    # A failure: the message and the checks in English.
    status, out, _ = run(wormcalc, EXAMPLE + ["--base-diameter", "400", "--json", "--language", "en"])
    failed = json.loads(out)
    expect(status == 1 and failed["error"].isascii(), "English error %r" % failed.get("error"))
    check_objects(failed["checks"])
    expect(failed["checks"][0]["message"].startswith("The main base circle diameter Db = 400"),
           failed["checks"][0]["message"])
    # A batch and a sweep speak English too.
    status, out, _ = run(wormcalc, ["--jsonl", "--language", "en", "--coefficients", COEFFICIENTS],
                         json.dumps(dict(zip(FIELDS[:7], ["200", "25", "50", "2", "130", "0", "78"]))) + "\n")
    expect(json.loads(out)["lines"][2]["name"] == "worm root arc radius", "batch " + out[:200])
    status, out, _ = run(wormcalc, EXAMPLE + ["--sweep", "backlash=0.2:0.3:0.1", "--language", "en"])
    expect(all(json.loads(line)["lines"][0]["name"] == "wheel pitch diameter" for line in out.splitlines()), "sweep")
    status, out, err = run(wormcalc, EXAMPLE + ["--language", "fr"])
    expect(status == 2 and "--language takes zh or en" in err, "--language fr: %d %s" % (status, err))
    # The English worm sheet, read by openpyxl: English names beside the numbers.
    try:
        import openpyxl
    except ImportError:
        print("outputs_read_back: python3-openpyxl is missing: the English sheet is not read back")
        return
    with tempfile.TemporaryDirectory() as folder:
        status, _, err = run(wormcalc, EXAMPLE + ["--language", "en", "--export-worm", folder + "/worm"])
        expect(status == 0, "English sheet: " + err)
        sheet = openpyxl.load_workbook(folder + "/worm.xlsx").active
        expect(sheet.title == "Worm parameters", "sheet " + sheet.title)
        expect((sheet["A4"].value, sheet["C4"].value) == ("Transverse module", 6.44), "row 4 %r" % (sheet["A4"].value,))
        expect(sheet["B10"].value == "Right" and sheet["C18"].value == 200.644, "rows 10 and 18")
        texts = [cell.value for row in sheet.iter_rows() for cell in row if isinstance(cell.value, str)]
        expect(all(not any("\u4e00" <= c <= "\u9fff" for c in text) for text in texts), "Chinese left: %r" % texts)


def values(wormcalc):
    """The values of the lines: the example, a sweep, and a design whose
    numbers are large, negative and in scientific notation."""
    status, out, _ = run(wormcalc, EXAMPLE + ["--json"])
    lines = decimals(out)["lines"]
    expect(len(lines) == 34 and [line["symbol"] for line in lines] == SYMBOLS, "the 34 symbols in panel order")
    check_lines(lines)
    expect([float(line["value"]) for line in lines] == [line["value"] for line in json.loads(out)["lines"]],
           "a float reader reads the same values")
    status, out, _ = run(wormcalc, EXAMPLE + ["--sweep", "base-diameter=126:134:0.25", "--sweep", "eccentricity=0:1:0.5"])
    for text in out.splitlines():
        check_lines(decimals(text)["lines"])
    batch = "".join(json.dumps(dict(zip(FIELDS[:7], texts))) + "\n" for texts in [
        ["2e15", "25", "50", "2", "130", "0", "78"],      # 3.99999999999992E15, negative lines
        ["0.02", "25", "50", "2", "130", "0", "78"],      # fails after a few lines
        ["450", "10.3333", "31", "3", "292", "0", "159.358"],
    ])
    status, out, _ = run(wormcalc, ["--jsonl", "--coefficients", COEFFICIENTS], batch)
    designs = [decimals(text) for text in out.splitlines()]
    expect(len(designs) == 3, "%d results" % len(designs))
    expect(any("E" in line["text"] for line in designs[0]["lines"]), "a number in scientific notation")
    expect(any(line["value"] < 0 for line in designs[0]["lines"]), "a negative number")
    for design in designs:
        check_lines(design["lines"])

    # The proposals and read-outs of --suggest.
    status, out, _ = run(wormcalc, ["--suggest", "--json", "--centre-distance", "450", "--coefficients", COEFFICIENTS])
    suggested = decimals(out)["lines"]
    expect([(line["label"], line["symbol"], line["unit"]) for line in suggested] ==
           [("Edit5", "Db", "mm"), ("Label46", "Db/A", ""), ("Edit7", "d1", "mm"), ("Label47", "d1/A^c[0]", "")],
           "suggestions %r" % suggested)
    expect([line["value"] for line in suggested] == [decimal.Decimal(v) for v in
                                                     ("292", "0.648888888888889", "159.358", "0.759998473879494")],
           "suggested values")
    expect(all(line["text"] == str(line["value"]) for line in suggested), "suggested texts")
    status, out, _ = run(wormcalc, ["--suggest", "--json", "--centre-distance", "1e16", "--coefficients", COEFFICIENTS])
    expect(decimals(out)["lines"][0]["value"] == decimal.Decimal("6.5E15"), "6.5E15: " + out)


def not_utf8(wormcalc):
    """Bytes that are not UTF-8 in the keys and texts of a batch and in the
    options: the outputs are UTF-8, each ill-formed sequence one U+FFFD."""
    def shown(raw):
        return raw.decode("utf-8", "replace")

    design = b'"speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78"'
    bad_key, cut_key, bad_text = b"b\xffad", b"\xe8\x9c", b"20\xc0\xaf0\xf0\x9f\x98"
    batch = b"".join([
        b'{"centre-distance": "200", "' + bad_key + b'": "1"}\n',
        b'{"' + cut_key + b'": "1"}\n',
        b'{"centre-distance": "' + bad_text + b'", ' + design + b'}\n',
    ])
    status, out, err = run(wormcalc, ["--jsonl", "--coefficients", COEFFICIENTS], batch)
    results = [json.loads(line) for line in out.splitlines()]
    expect(len(results) == 3 and status == 2, "three results, status %d" % status)
    expect(results[0]["error"] == 'line 1: unknown key "%s"' % shown(bad_key), results[0]["error"])
    expect(results[1]["error"] == 'line 2: unknown key "%s"' % shown(cut_key), results[1]["error"])
    expect(shown(bad_text) == "20\ufffd\ufffd0\ufffd", "Python reads %r" % shown(bad_text))
    message = results[2]["checks"][0]["message"]
    expect(shown(bad_text) in message, "the typed text in " + message)

    status, out, err = run(wormcalc, ["--jsonl", "--csv", "--coefficients", COEFFICIENTS],
                           b'{"centre-distance": "200", "eccentricity": "1\xff", ' + design + b'}\n')
    rows = table(out)
    expect(rows[0][5] == "1\ufffd", "eccentricity cell %r" % rows[0][5])

    # An option's text in a sweep's inputs.
    done = subprocess.run([os.fsencode(wormcalc), b"--centre-distance", b"200", b"--speed-ratio", b"25",
                           b"--teeth", b"50", b"--starts", b"2", b"--base-diameter", b"130",
                           b"--eccentricity", b"\xff", b"--coefficients", COEFFICIENTS.encode(),
                           b"--sweep", b"pitch-diameter=78:79:1"], capture_output=True)
    sweep = [json.loads(line) for line in done.stdout.decode("utf-8").splitlines()]
    expect([design["inputs"]["eccentricity"] for design in sweep] == ["\ufffd"] * 2, "sweep inputs")


def full_disk(wormcalc):
    """Output to a full disk: status 1 and the reason, whatever the mode."""
    if not os.path.exists("/dev/full"):
        return
    batch = "".join('{"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", '
                    '"base-diameter": "130", "pitch-diameter": "78"}\n' for _ in range(200))
    for args, stdin in [
        (EXAMPLE, ""),
        (EXAMPLE + ["--json"], ""),
        (EXAMPLE + ["--csv"], ""),
        (EXAMPLE + ["--check", "--base-diameter", "400"], ""),
        (EXAMPLE + ["--sweep", "base-diameter=120:140:0.01"], ""),
        (["--jsonl", "--coefficients", COEFFICIENTS], batch),
        (["--suggest", "--centre-distance", "450", "--coefficients", COEFFICIENTS], ""),
        (["--help"], ""),
        (["--version"], ""),
    ]:
        with open("/dev/full", "wb") as full:
            done = subprocess.run([wormcalc] + args, input=stdin.encode(), stdout=full, stderr=subprocess.PIPE)
        err = done.stderr.decode("utf-8")
        expect(done.returncode == 1, "%s to /dev/full: status %d" % (args[-1], done.returncode))
        expect(err.startswith("wormcalc: the output could not be written: "), "%s to /dev/full: %r" % (args[-1], err))


def comma_locale(wormcalc):
    """wormcalc in de_DE.UTF-8, a locale whose decimal separator is ',',
    made here from the system's locale sources into a folder of the test's own."""
    localedef = shutil.which("localedef")
    if not localedef or not os.path.exists("/usr/share/i18n/locales/de_DE"):
        print("SKIPPED: localedef or the de_DE locale source is missing (Debian package locales)")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as folder:
        made = subprocess.run([localedef, "-i", "de_DE", "-f", "UTF-8", os.path.join(folder, "de_DE.UTF-8")],
                              capture_output=True)
        if made.returncode not in (0, 1) or not os.path.isdir(os.path.join(folder, "de_DE.UTF-8")):
            print("SKIPPED: localedef could not make de_DE.UTF-8: " + made.stderr.decode("utf-8", "replace"))
            sys.exit(77)
        env = dict(os.environ, LOCPATH=folder, LC_ALL="de_DE.UTF-8")
        env.pop("LANGUAGE", None)
        # The fields in the user's notation.
        german = ["--centre-distance", "200", "--speed-ratio", "25", "--teeth", "50", "--starts", "2",
                  "--base-diameter", "130", "--pitch-diameter", "78", "--backlash", "0,3",
                  "--grinding-increment", "0,2", "--coefficients", COEFFICIENTS]
        status, out, err = run(wormcalc, german, env=env)
        expect(status == 0, "text in de_DE: status %d %s" % (status, err))
        expect("\n168,728-----蜗杆齿根圆弧半径\n" in out, "the window's form: " + out[:200])
        status, out, err = run(wormcalc, german + ["--json"], env=env)
        expect(status == 0, "JSON in de_DE: " + err)
        lines = decimals(out)["lines"]
        check_lines(lines, separator=",")
        root = lines[SYMBOLS.index("Rf1")]
        expect(root["value"] == decimal.Decimal("168.728") and root["text"] == "168,728-----蜗杆齿根圆弧半径",
               "Rf1 %r" % root)
        status, out, err = run(wormcalc, german + ["--csv"], env=env)
        rows = table(out)
        expect(rows[0][7:9] == ["0.3", "0.2"], "the texts typed with ',' as numbers with '.': %r" % rows[0][:9])
        status, c_out, _ = run(wormcalc, EXAMPLE + ["--csv"])
        expect(rows[0][9:] == table(c_out)[0][9:], "the same numbers as in the C locale")
        # The same texts typed with '.' do not read in this locale: the check says so.
        status, out, err = run(wormcalc, german[:-6] + ["--backlash", "0.3", "--coefficients", COEFFICIENTS, "--csv"],
                               env=env)
        expect(table(out)[0][43] == "error:backlash-not-a-number", "0.3 in de_DE: %r" % table(out)[0][43])
        # A sweep's inputs and the checks' values.
        status, out, err = run(wormcalc, german + ["--sweep", "base-diameter=130:131:0.5"], env=env)
        for text in out.splitlines():
            design = decimals(text)
            expect(design["inputs"]["backlash"] == "0.3", "inputs %r" % design["inputs"])
            check_lines(design["lines"], separator=",")
        status, out, err = run(wormcalc, german + ["--base-diameter", "400", "--json"], env=env)
        failed = json.loads(out)
        expect(failed["checks"][0]["values"] == {"Db": 400, "d2": 322}, "values %r" % failed["checks"][0]["values"])
        status, out, err = run(wormcalc, ["--suggest", "--json", "--centre-distance", "450", "--coefficients",
                                          COEFFICIENTS], env=env)
        share = decimals(out)["lines"][1]
        expect(share["value"] == decimal.Decimal("0.648888888888889") and share["text"] == "0,648888888888889",
               "Label46 %r" % share)
    print("outputs_read_back: the comma locale's texts and the machine-readable numbers read back")


if __name__ == "__main__":
    if len(sys.argv) == 2:
        main(sys.argv[1])
    elif len(sys.argv) == 3 and sys.argv[2] == "comma-locale":
        comma_locale(sys.argv[1])
    else:
        sys.exit(__doc__)
