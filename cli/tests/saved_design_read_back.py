#!/usr/bin/python3
"""The design files wormcalc --save-design writes, read back.

    saved_design_read_back.py WORMCALC openpyxl      by wormcalc's own design-file reader and by
                                                     openpyxl (exit 77 without python3-openpyxl)
    saved_design_read_back.py WORMCALC libreoffice   by LibreOffice (exit 77 without soffice)

The file names follow the design files' rule (".cqb" appended unless the name
ends in it, in any case), a design that does not calculate is saved too, the
thirteen cells hold the texts as given, and a file that cannot be written is
reported and leaves nothing behind. Exit 1 on the first difference.
"""

import csv
import io
import os
import shutil
import subprocess
import sys
import tempfile
import warnings

COEFFICIENTS = "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9"
OPTIONS = ["centre-distance", "speed-ratio", "teeth", "starts", "base-diameter", "eccentricity", "pitch-diameter",
           "backlash", "worm-accuracy", "hob-accuracy", "entrance-relief", "exit-relief", "grinding-increment"]
# The thirteen texts in the design file's row order: numbers, and texts with a
# comma, quotes and Chinese.
TEXTS = ["200", "25", "50", "2", "130", "0", "78", "0.3", "8j (GB/T16445-1996)", "7级, \"精\"", "0.3*P/2",
         "0.2*P/2", "0.2"]


def expect(condition, what):
    if not condition:
        sys.exit("saved_design_read_back: " + what)


def save(wormcalc, name, texts=TEXTS, extra=()):
    args = [wormcalc]
    for option, text in zip(OPTIONS, texts):
        args += ["--" + option, text]
    args += ["--coefficients", COEFFICIENTS, "--save-design", name] + list(extra)
    return subprocess.run(args, capture_output=True)


def saved_files(wormcalc, folder):
    """Saves under names of every kind; returns the files written and their texts."""
    cases = [  # (name given, file expected)
        ("gear", "gear.cqb"),
        ("pair.cqb", "pair.cqb"),
        ("OLD.CQB", "OLD.CQB"),
        ("Mixed.Cqb", "Mixed.Cqb"),
        ("wheel A=200.5", "wheel A=200.5.cqb"),
        ("hob.xlsx", "hob.xlsx.cqb"),
    ]
    written = []
    for name, expected in cases:
        done = save(wormcalc, os.path.join(folder, name))
        expect(done.returncode == 0, "%s: status %d %s" % (name, done.returncode, done.stderr.decode()))
        expect(os.path.isfile(os.path.join(folder, expected)), "%s saved as %s? %r" % (name, expected,
                                                                                      sorted(os.listdir(folder))))
        written.append((os.path.join(folder, expected), TEXTS))
    expect(sorted(os.listdir(folder)) == sorted(expected for _, expected in cases), "files %r" %
           sorted(os.listdir(folder)))

    # Saved again under the same name: replaced, not "gear.cqb.cqb".
    changed = TEXTS[:7] + ["0.5"] + TEXTS[8:]
    done = save(wormcalc, os.path.join(folder, "gear.cqb"), changed)
    expect(done.returncode == 0 and not os.path.exists(os.path.join(folder, "gear.cqb.cqb")), "saved over gear.cqb")
    written[0] = (written[0][0], changed)

    # Texts that do not calculate are saved all the same; the run fails.
    failing = TEXTS[:2] + ["fifty"] + TEXTS[3:]
    done = save(wormcalc, os.path.join(folder, "failing"), failing)
    expect(done.returncode == 1, "a failing design: status %d" % done.returncode)
    written.append((os.path.join(folder, "failing.cqb"), failing))

    # A folder that does not exist: the reason, status 1, nothing written.
    before = sorted(os.listdir(folder))
    done = save(wormcalc, os.path.join(folder, "missing", "gear"))
    err = done.stderr.decode("utf-8")
    expect(done.returncode == 1 and err.startswith("wormcalc: the design file \"%s\" could not be written: " %
                                                   os.path.join(folder, "missing", "gear")), "no folder: " + err)
    expect(sorted(os.listdir(folder)) == before, "a failed save left files behind")
    return written


def read_by_wormcalc(wormcalc, written):
    """wormcalc's own reader: the file calculates as the texts it was saved from."""
    for path, texts in written:
        from_file = subprocess.run([wormcalc, path, "--coefficients", COEFFICIENTS, "--csv"], capture_output=True)
        direct = subprocess.run([wormcalc, "--coefficients", COEFFICIENTS, "--csv"] +
                                [arg for option, text in zip(OPTIONS, texts) for arg in ("--" + option, text)],
                                capture_output=True)
        expect(from_file.stdout == direct.stdout and from_file.stdout, "%s reads back as\n%s\nnot\n%s" %
               (path, from_file.stdout.decode(), direct.stdout.decode()))


def same_text(cell, text, path, row):
    """A cell shows its text: a text cell holds it, a number cell its number."""
    if isinstance(cell, str) or cell is None:
        expect((cell or "") == text, "%s row %d: %r, saved %r" % (path, row, cell, text))
    else:
        expect(float(text) == cell, "%s row %d: the number %r, saved %r" % (path, row, cell, text))


def with_openpyxl(wormcalc):
    try:
        import openpyxl
    except ImportError:
        print("SKIPPED: python3-openpyxl is not installed")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as folder:
        written = saved_files(wormcalc, folder)
        read_by_wormcalc(wormcalc, written)
        for path, texts in written:
            with open(path, "rb") as f, warnings.catch_warnings(record=True) as caught:
                warnings.simplefilter("always")
                book = openpyxl.load_workbook(io.BytesIO(f.read()))
            expect(not caught, "%s: openpyxl warns %s" % (path, [str(w.message) for w in caught]))
            sheet = book.active
            for row, text in enumerate(texts, 1):
                same_text(sheet.cell(row=row, column=1).value, text, path, row)
    print("saved_design_read_back: every design file read back by wormcalc and openpyxl")


def with_libreoffice(wormcalc):
    soffice = shutil.which("soffice")
    if not soffice:
        print("SKIPPED: LibreOffice (soffice) is not installed")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as folder:
        designs = os.path.join(folder, "designs")
        os.mkdir(designs)
        written = saved_files(wormcalc, designs)
        # LibreOffice picks its import filter by the name: each file goes in as a workbook.
        inputs = []
        for n, (path, _) in enumerate(written):
            inputs.append(os.path.join(folder, "design%d.xlsx" % n))
            shutil.copyfile(path, inputs[-1])
        done = subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(folder, "profile"),
                               "--headless", "--norestore", "--convert-to",
                               # comma-separated, double quotes, UTF-8 (76), from the first line
                               "csv:Text - txt - csv (StarCalc):44,34,76,1", "--outdir",
                               os.path.join(folder, "csv")] + inputs, capture_output=True, timeout=600)
        expect(done.returncode == 0, "LibreOffice: " + done.stdout.decode() + done.stderr.decode())
        for n, (path, texts) in enumerate(written):
            converted = os.path.join(folder, "csv", "design%d.csv" % n)
            expect(os.path.isfile(converted), "LibreOffice did not convert " + path)
            with open(converted, encoding="utf-8", newline="") as f:
                rows = list(csv.reader(f))
            for row, text in enumerate(texts, 1):
                shown = rows[row - 1][0] if row <= len(rows) and rows[row - 1] else ""
                expect(shown == text, "%s row %d shows %r, saved %r" % (path, row, shown, text))
    print("saved_design_read_back: every design file read back by LibreOffice")


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in ("openpyxl", "libreoffice"):
        sys.exit(__doc__)
    (with_openpyxl if sys.argv[2] == "openpyxl" else with_libreoffice)(sys.argv[1])
