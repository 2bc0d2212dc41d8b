#!/usr/bin/python3
"""wormcalc's standard streams, end to end:

    standard_streams.py WORMCALC OLD_DESIGN.xls

- "-" reads the design file from standard input, a pipe, in each format the
  file reader takes (the OOXML of --save-design, an OpenDocument spreadsheet
  made here, an old binary workbook), giving what the file itself gives; an
  endless input is refused after 16 MiB; "./-" is the file named "-".
- --jsonl takes BATCH.jsonl, "-" or nothing for standard input, alike.
- No output FILE is "-".
- Without XDG_RUNTIME_DIR (as under su, sudo or cron) nothing but wormcalc's
  own lines reaches the error stream, the painted outputs included.
- An OpenDocument file of a few hundred bytes that describes gigabytes of
  text is refused with its name and the bound, in well under 256 MiB.

Exit 1 on the first difference.
"""

import json
import os
import subprocess
import sys
import tempfile
import zipfile

COEFFICIENTS = "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9"
EXAMPLE = ["--centre-distance", "200", "--speed-ratio", "25", "--teeth", "50", "--starts", "2",
           "--base-diameter", "130", "--pitch-diameter", "78"]
ODS_NAMESPACES = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
                  'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
                  'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"')


def expect(condition, what):
    if not condition:
        sys.exit("standard_streams: " + what)


def run(wormcalc, args, stdin=b"", env=None):
    """Status, output, error output and peak memory (KiB) of one run."""
    process = subprocess.Popen([wormcalc] + args, stdin=subprocess.PIPE if not hasattr(stdin, "fileno") else stdin,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    out, err = process.communicate(stdin if isinstance(stdin, bytes) else None, timeout=120)
    # The child is reaped by communicate; its peak memory is that of the
    # largest child waited for, and each run is in a Python of its own below.
    return process.returncode, out, err.decode("utf-8")


def peak_memory_kib(command, stdin_path):
    """The peak resident memory of one command, measured in a fresh Python
    whose only child it is."""
    probe = ("import resource, subprocess, sys\n"
             "with open(sys.argv[1], 'rb') as stdin:\n"
             "    subprocess.run(sys.argv[2:], stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)\n"
             "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)\n")
    done = subprocess.run(["/usr/bin/python3", "-c", probe, stdin_path] + command, capture_output=True, timeout=120)
    return int(done.stdout)


def ods(path, rows):
    content = ('<?xml version="1.0" encoding="UTF-8"?><office:document-content %s><office:body>'
               '<office:spreadsheet><table:table table:name="S">%s</table:table></office:spreadsheet>'
               '</office:body></office:document-content>' % (ODS_NAMESPACES, rows))
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as package:
        package.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet")
        package.writestr("content.xml", content)


def design_rows(texts):
    cells = []
    for text in texts:
        try:
            float(text)
            cells.append('<table:table-row><table:table-cell office:value-type="float" office:value="%s"/>'
                         '</table:table-row>' % text)
        except ValueError:
            cells.append('<table:table-row><table:table-cell office:value-type="string"><text:p>%s</text:p>'
                         '</table:table-cell></table:table-row>' % text)
    return "".join(cells)


def main(wormcalc, old_design, folder):
    wormcalc = os.path.abspath(wormcalc)
    saved = os.path.join(folder, "saved.cqb")
    status, _, err = run(wormcalc, EXAMPLE + ["--coefficients", COEFFICIENTS, "--save-design", saved])
    expect(status == 0, "--save-design: %d %s" % (status, err))
    opendocument = os.path.join(folder, "design.ods")
    ods(opendocument, design_rows(["200", "25", "50", "2", "130", "0", "78", "0.3", "8j", "8j", "右", "右", "0.2"]))

    # A design file on standard input reads as the file itself.
    for path in (saved, opendocument, old_design):
        with open(path, "rb") as design:
            data = design.read()
        by_name = run(wormcalc, [path, "--json", "--coefficients", COEFFICIENTS])
        options = ["--json", "--coefficients", COEFFICIENTS]
        for args in (["-"] + options, options + ["--", "-"]):
            piped = run(wormcalc, args, data)
            expect(piped == by_name, "%s on standard input (%s): %d %s, the file gives %d %s" %
                   (path, args, piped[0], piped[2], by_name[0], by_name[2]))
        expect(by_name[0] == 0 and json.loads(by_name[1])["lines"], "%s: %d %s" % (path, by_name[0], by_name[2]))
    # "./-" is a file.
    os.symlink(saved, os.path.join(folder, "-"))
    named = subprocess.run([wormcalc, "./-", "--json", "--coefficients", COEFFICIENTS], cwd=folder,
                           capture_output=True, stdin=subprocess.DEVNULL)
    expect(named.returncode == 0 and json.loads(named.stdout)["lines"], "./-: %r" % (named,))

    # An endless input is refused once it passes the bound.
    with open("/dev/zero", "rb") as zero:
        status, out, err = run(wormcalc, ["-"], zero)
    expect(status == 1 and out == b"", "/dev/zero: %d %r" % (status, out))
    expect(err == "wormcalc: cannot open the design file from standard input: "
                  "工作簿“标准输入”过大：超过 16 MiB，工作簿文件最多这么大\n", "/dev/zero: %r" % err)
    status, _, err = run(wormcalc, ["-"], b"")
    expect(status == 1 and "标准输入" in err and "文件是空的" in err, "empty standard input: %r" % err)

    # The batch from a file, from "-" and from standard input alike.
    batch = os.path.join(folder, "batch.jsonl")
    with open(batch, "w", encoding="utf-8") as lines:
        for n in range(300):
            lines.write(json.dumps({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2",
                                    "base-diameter": str(126 + n % 9), "pitch-diameter": "78"}) + "\n")
        lines.write("not json\n")
    with open(batch, "rb") as lines:
        data = lines.read()
    from_input = run(wormcalc, ["--jsonl", "--coefficients", COEFFICIENTS], data)
    expect(from_input[0] == 2 and len(from_input[1].splitlines()) == 301, "--jsonl: %r" % (from_input[0],))
    for args in (["--jsonl", "-"], ["--jsonl", batch], [batch, "--jsonl"]):
        got = run(wormcalc, args + ["--coefficients", COEFFICIENTS], data if "-" in args else b"")
        expect(got == from_input, "%s differs from standard input" % args)
    status, _, err = run(wormcalc, ["--jsonl", os.path.join(folder, "missing.jsonl")])
    expect(status == 1 and err.startswith('wormcalc: cannot read the batch file "'), "missing batch: %r" % err)

    # No output file is "-".
    for option in ("--export-worm", "--export-hob", "--export-wheel", "--drawing-worm", "--drawing-wheel",
                   "--drawing-hob", "--report", "--save-design"):
        status, out, err = run(wormcalc, EXAMPLE + [option, "-"])
        expect(status == 2 and out == b"" and
               err.startswith("wormcalc: %s -: standard output carries the results" % option), "%s -: %r" % (option, err))
    expect(not os.path.exists("-.xlsx") and not os.path.exists("-.cqb"), "a file named after -")

    # Nothing of Qt's on the error stream without a runtime folder.
    quiet = dict(os.environ)
    quiet.pop("XDG_RUNTIME_DIR", None)
    quiet.pop("QT_QPA_PLATFORM", None)
    quiet["TMPDIR"] = folder
    for outputs in (["--drawing-worm", "worm.svg", "--drawing-wheel", "wheel.pdf", "--report", "report.pdf"],
                    ["--drawing-hob", "hob.dxf", "--export-worm", "worm.xlsx"], []):
        done = subprocess.run([wormcalc] + EXAMPLE + ["--coefficients", COEFFICIENTS] +
                              [os.path.join(folder, o) if "." in o else o for o in outputs],
                              env=quiet, capture_output=True, stdin=subprocess.DEVNULL)
        expect(done.returncode == 0 and done.stderr == b"", "%s without XDG_RUNTIME_DIR: %r" % (outputs, done.stderr))

    # 886 bytes that once took gigabytes: refused with the file and the bound named.
    hostile = os.path.join(folder, "hostile.ods")
    ods(hostile, '<table:table-row><table:table-cell table:number-columns-repeated="99990" '
                 'office:value-type="string"><text:p>x<text:s text:c="131063"/></text:p>'
                 '</table:table-cell></table:table-row>')
    expect(os.path.getsize(hostile) < 1024, "hostile file of %d bytes" % os.path.getsize(hostile))
    status, out, err = run(wormcalc, [hostile])
    expect(status == 1 and err == 'wormcalc: cannot open the design file "%s": 工作簿“%s”过大：'
                                  '工作表单元格的文字存入工作簿后共超过 4 MiB（重复的单元格按每次重复计）\n' % (hostile, hostile),
           "hostile: %d %r" % (status, err))
    for command, stdin in (([wormcalc, hostile], "/dev/null"), ([wormcalc, "-"], hostile)):
        peak = peak_memory_kib(command, stdin)
        expect(peak < 256 * 1024, "%s took %d KiB" % (command, peak))
    print("standard_streams: design files and batches on standard input, quiet without a runtime folder")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory(prefix="standard_streams-") as scratch:
        main(sys.argv[1], sys.argv[2], scratch)
