#!/usr/bin/python3
"""Design files with particulars (图样资料, rows 16 on), read by other programs.

    particulars_read_back.py WORMCALC openpyxl      a file openpyxl writes is carried through
                                                    wormcalc --save-design and read back by
                                                    openpyxl (exit 77 without python3-openpyxl)
    particulars_read_back.py WORMCALC libreoffice   the same file saved by LibreOffice as .ods
                                                    and .xlsx, carried through wormcalc, and the
                                                    result shown by LibreOffice (exit 77 without
                                                    soffice or openpyxl)

The thirteen texts stay in column A, rows 1 to 13, where the reader of the
thirteen cells finds them; each particular keeps its row, a multi-line 技术要求
its lines, a length its number; an old design file gets empty (default) rows.
Exit 1 on the first difference.
"""

import csv
import os
import shutil
import subprocess
import sys
import tempfile

COEFFICIENTS = "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9"
TEXTS = ["200", "25", "50", "2", "130", "0", "78", "0.3", "8j (GB/T16445-1996)", "8j (GB/T16445-1996)",
         "0.3*P/2", "0.2*P/2", "0.2"]
FIRST = 16  # the first particular's row
# Row (from FIRST) -> value: a few of each kind, the rest left empty.
PARTICULARS = {
    0: "李工",                                        # 设计
    3: "2024-05-01",                                  # 日期
    4: "某某减速机厂",                                 # 单位
    5: "QE-2024-001",                                 # 蜗杆图号
    6: "20CrMnTi",                                    # 蜗杆材料
    8: "1. 渗碳淬火 HRC 58～62。\n2. 未注倒角 C1。",     # 蜗杆技术要求, two lines
    10: "ZCuSn10Pb1",                                 # 蜗轮材料
    17: 45.5,                                         # 蜗杆左轴颈直径, a number
    32: 14,                                           # 蜗轮键槽宽度
}
COUNT = 39


def expect(condition, what):
    if not condition:
        sys.exit("particulars_read_back: " + what)


def write_with_openpyxl(path):
    import openpyxl
    book = openpyxl.Workbook()
    sheet = book.active
    for row, text in enumerate(TEXTS, 1):
        sheet.cell(row=row, column=1, value=float(text) if text.replace(".", "", 1).isdigit() else text)
    for offset, value in PARTICULARS.items():
        sheet.cell(row=FIRST + offset, column=1, value=value)
    book.save(path)


def carry(wormcalc, source, target):
    done = subprocess.run([wormcalc, source, "--coefficients", COEFFICIENTS, "--save-design", target],
                          capture_output=True)
    expect(done.returncode == 0, "%s: status %d %s" % (source, done.returncode, done.stderr.decode()))
    # The reader of the thirteen cells calculates it as the texts themselves.
    from_file = subprocess.run([wormcalc, target, "--coefficients", COEFFICIENTS, "--csv"], capture_output=True)
    direct = subprocess.run([wormcalc, "--coefficients", COEFFICIENTS, "--csv", "--centre-distance", "200",
                             "--speed-ratio", "25", "--teeth", "50", "--starts", "2", "--base-diameter", "130",
                             "--eccentricity", "0", "--pitch-diameter", "78", "--backlash", "0.3",
                             "--grinding-increment", "0.2"], capture_output=True)
    expect(from_file.stdout == direct.stdout and from_file.stdout, "%s calculates as\n%s\nnot\n%s" %
           (target, from_file.stdout.decode(), direct.stdout.decode()))


def same(shown, expected, where):
    if isinstance(expected, (int, float)) and not isinstance(shown, str):
        expect(shown == expected, "%s: %r, expected %r" % (where, shown, expected))
    else:
        expect(str(shown if shown is not None else "") == str(expected), "%s: %r, expected %r" %
               (where, shown, expected))


def check_with_openpyxl(path, particulars):
    import io
    import openpyxl
    with open(path, "rb") as f:  # openpyxl goes by the name; a .cqb is OOXML inside
        sheet = openpyxl.load_workbook(io.BytesIO(f.read())).active
    for row, text in enumerate(TEXTS, 1):
        value = sheet.cell(row=row, column=1).value
        same(value if isinstance(value, str) else ("%g" % value), text, "%s row %d" % (path, row))
    for offset in range(COUNT):
        row = FIRST + offset
        same(sheet.cell(row=row, column=1).value, particulars.get(offset, ""), "%s row %d" % (path, row))
        label = sheet.cell(row=row, column=2).value
        expect(isinstance(label, str) and label, "%s row %d has no name beside it" % (path, row))
    expect(sheet.cell(row=FIRST + 6, column=2).value == "蜗杆材料", "row 22 is not 蜗杆材料")


def with_openpyxl(wormcalc, old_design):
    try:
        import openpyxl  # noqa: F401
    except ImportError:
        print("SKIPPED: python3-openpyxl is not installed")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "by_openpyxl.xlsx")
        write_with_openpyxl(source)
        target = os.path.join(folder, "carried.cqb")
        carry(wormcalc, source, target)
        check_with_openpyxl(target, PARTICULARS)
        # An old design file: its particulars rows come out empty, each a default.
        old_target = os.path.join(folder, "old.cqb")
        done = subprocess.run([wormcalc, old_design, "--save-design", old_target], capture_output=True)
        expect(os.path.isfile(old_target), "the old design was not saved: " + done.stderr.decode())
        import io
        import openpyxl
        with open(old_target, "rb") as f:
            sheet = openpyxl.load_workbook(io.BytesIO(f.read())).active
        for offset in range(COUNT):
            expect(sheet.cell(row=FIRST + offset, column=1).value in (None, ""), "old design row %d not empty" %
                   (FIRST + offset))
    print("particulars_read_back: particulars carried through wormcalc and read back by openpyxl")


def soffice_convert(soffice, folder, to, inputs, outdir):
    done = subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(folder, "profile"), "--headless",
                           "--norestore", "--convert-to", to, "--outdir", outdir] + inputs, capture_output=True,
                          timeout=600)
    expect(done.returncode == 0, "LibreOffice: " + done.stdout.decode() + done.stderr.decode())


def with_libreoffice(wormcalc, old_design):
    soffice = shutil.which("soffice")
    if not soffice:
        print("SKIPPED: LibreOffice (soffice) is not installed")
        sys.exit(77)
    try:
        import openpyxl  # noqa: F401
    except ImportError:
        print("SKIPPED: python3-openpyxl is not installed")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "by_openpyxl.xlsx")
        write_with_openpyxl(source)
        # LibreOffice writes the design as an OpenDocument spreadsheet; wormcalc
        # reads that and saves OOXML with the particulars in their rows.
        soffice_convert(soffice, folder, "ods", [source], os.path.join(folder, "ods"))
        ods = os.path.join(folder, "ods", "by_openpyxl.ods")
        target = os.path.join(folder, "carried.cqb")
        carry(wormcalc, ods, target)
        shown = os.path.join(folder, "carried.xlsx")
        shutil.copyfile(target, shown)
        soffice_convert(soffice, folder, "csv:Text - txt - csv (StarCalc):44,34,76,1", [shown],
                        os.path.join(folder, "csv"))
        with open(os.path.join(folder, "csv", "carried.csv"), encoding="utf-8", newline="") as f:
            rows = list(csv.reader(f))
        for offset in range(COUNT):
            row = FIRST + offset
            cell = rows[row - 1][0] if row <= len(rows) and rows[row - 1] else ""
            expected = PARTICULARS.get(offset, "")
            expected = ("%g" % expected) if isinstance(expected, (int, float)) else expected
            expect(cell == expected, "LibreOffice shows row %d as %r, saved %r" % (row, cell, expected))
        for row, text in enumerate(TEXTS, 1):
            expect(rows[row - 1][0] == text, "LibreOffice shows row %d as %r" % (row, rows[row - 1][0]))
    print("particulars_read_back: particulars through LibreOffice's .ods and wormcalc, shown by LibreOffice")


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[2] not in ("openpyxl", "libreoffice"):
        sys.exit(__doc__)
    (with_openpyxl if sys.argv[2] == "openpyxl" else with_libreoffice)(sys.argv[1], sys.argv[3])
