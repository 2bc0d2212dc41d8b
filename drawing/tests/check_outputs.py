#!/usr/bin/env python3
"""The drawings and the report as other programs read them.

wormcalc writes each test design's three drawings (DXF, SVG, PDF) and its
calculation report; independent readers check them against the window texts
wormcalc prints for the same design (--json):

- ezdxf (python3-ezdxf) audits every DXF (no error), measures every DIMENSION
  (times its style's length factor: it must give the value of its text, which
  must be the window's text), reads the parameter table's texts row by row,
  checks that every outline is closed and that the layers are GB/T 14665's;
- a design file with particulars (written by openpyxl) and a tolerance table
  in the store beside a copy of wormcalc: the title block holds the names,
  the drawing numbers and the material given, a title text too long for its
  cell stands in two lines that together are the whole text, the tolerance
  rows read the table's µm with their sign or 未填, every body dimension given
  is a DIMENSION whose text is the entry, whose measurement is the entry and
  whose points lie on the drawn body;
- poppler's pdfinfo, pdftotext and pdfdetach read the PDFs: paper sizes, the
  dimension texts, every input and result text of the report, and the design
  attached to the report as JSON;
- Python's XML reader reads the SVG texts.

A failed calculation writes nothing; a target that cannot be written leaves
what is there.

    check_outputs.py WORMCALC DESIGNS.jsonl

Exit status 0 when every check passes, 1 when one fails, 77 (skipped) when
ezdxf or poppler-utils is missing.
"""
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SKIP = 77
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


try:
    import ezdxf
    from ezdxf import path as ezdxf_path
except ImportError:
    print("SKIP: python3-ezdxf is not installed (scripts/install-deps.sh --test installs it)")
    sys.exit(SKIP)
for tool in ("pdfinfo", "pdftotext", "pdfdetach"):
    if shutil.which(tool) is None:
        print(f"SKIP: {tool} (poppler-utils) is not installed (scripts/install-deps.sh --test installs it)")
        sys.exit(SKIP)

import drawn_geometry  # noqa: E402 (needs ezdxf)

FIELDS = ["centre-distance", "speed-ratio", "teeth", "starts", "base-diameter", "eccentricity",
          "pitch-diameter", "backlash", "worm-accuracy", "hob-accuracy", "entrance-relief",
          "exit-relief", "grinding-increment"]
DEFAULTS = {"starts": "1", "eccentricity": "0", "backlash": "0.3", "worm-accuracy": "8j (GB/T16445-1996)",
            "hob-accuracy": "8j (GB/T16445-1996)", "entrance-relief": "0.3*P/2", "exit-relief": "0.2*P/2",
            "grinding-increment": "0.2"}

# The dimensions of each drawing: where the text comes from (a result label or
# an input field) and what stands before or after it in DXF.
DIMENSIONS = {
    "worm": [("Label10", ""), ("Label11", ""), ("Label48", "%%c"), ("pitch-diameter", "%%c"),
             ("centre-distance", ""), ("Label9", "R"), ("Label8", "R"), ("Label12", "%%c"), ("Label27", "%%d"),
             ("Label16", ""), ("Label17", "")],
    "wheel": [("Label35", "%%c"), ("Label23", "%%c"), ("Label34", ""), ("Label33", "%%c"), ("Label40", "R"),
              ("centre-distance", "")],
    "hob": [("Label20", ""), ("centre-distance", ""), ("Label18", "R"), ("Label19", "R"), ("Label12", "%%c"),
            ("Label21", ""), ("Label22", "")],
}

# The parameter tables: the name a row shows and where its value comes from.
TABLES = {
    "worm": [("中心距", "centre-distance"), ("蜗杆头数", "starts"), ("蜗轮齿数", "teeth"), ("速比", "speed-ratio"),
             ("端面模数", "Label25"), ("主基圆直径", "Label12"), ("母平面倾斜角", "Label13"), ("压力角", "Label14"),
             ("蜗杆喉部导程角", "Label28"), ("螺旋方向", "=右"), ("包围齿数", "Label26"), ("工作半包角", "Label27"),
             ("测量齿厚", "Label16"), ("测量齿高", "Label17"), ("蜗杆精度", "worm-accuracy"),
             ("入口修缘", "entrance-relief"), ("出口修缘", "exit-relief"), ("修形砂轮角", "Label41"),
             ("修形传动比", "Label42"), ("修形中心距", "Label51"), ("修形主基圆直径", "Label52"),
             ("磨齿增量", "grinding-increment")],
    "wheel": [("蜗轮齿数", "teeth"), ("端面模数", "Label25"), ("蜗轮分度圆直径", "Label23"),
              ("中心距", "centre-distance"), ("压力角", "Label14"), ("螺旋方向", "=右"), ("蜗轮测量齿厚", "Label44"),
              ("蜗轮测量齿高", "Label45"), ("精度等级", "worm-accuracy"), ("加工方法", "=滚刀加工")],
    "hob": [("滚刀包络齿数", "Label29"), ("滚刀测量齿厚", "Label21"), ("滚刀测量齿高", "Label22"),
            ("中心距", "centre-distance"), ("速比", "speed-ratio"), ("主基圆直径", "Label12"),
            ("母平面倾斜角", "Label13"), ("滚刀精度", "hob-accuracy")],
}


def run(command):
    return subprocess.run(command, capture_output=True, text=True)


def arguments(design):
    args = []
    for key, value in design.items():
        if key in FIELDS:
            args += ["--" + key, value]
    if design.get("round-teeth"):
        args.append("--round-teeth")
    args += ["--coefficients", ",".join(design["coefficients"])]
    return args


def window_texts(wormcalc, design):
    """label -> number text as the window shows it, and the thirteen field
    texts; and symbol -> the value of each shown line."""
    result = run([wormcalc] + arguments(design) + ["--json"])
    check(result.returncode == 0, f"{design['name']}: wormcalc --json failed: {result.stderr}")
    texts, values = {}, {}
    for line in json.loads(result.stdout)["lines"]:
        texts[line["label"]] = re.match(r"^(.*?)-{4,}", line["text"]).group(1)
        values[line["symbol"]] = line["value"]
    for field in FIELDS:
        texts[field] = design.get(field, DEFAULTS.get(field, ""))
    return texts, values


def value_of(source, texts):
    return source[1:] if source.startswith("=") else texts[source]


def entity_dimlfac(dim):
    """The DIMLFAC (group 144) a dimension overrides in its XDATA (ACAD,
    DSTYLE { code value ... }), 1 when it overrides none."""
    if not dim.has_xdata("ACAD"):
        return 1.0
    tags = [(tag.code, tag.value) for tag in dim.get_xdata("ACAD")]
    if (1000, "DSTYLE") not in tags:
        return 1.0
    inside = tags[tags.index((1000, "DSTYLE")) + 2:]
    for (code_tag, code), (_, value) in zip(inside[::2], inside[1::2]):
        if code_tag == 1070 and code == 144:
            return float(value)
    return 1.0


def scale_of(text):
    """ "1:2.5" -> 0.4, "2.5:1" -> 2.5, else None."""
    match = re.fullmatch(r"([\d.]+):([\d.]+)", text)
    return float(match.group(1)) / float(match.group(2)) if match else None


def detail_enlargement(msp):
    """How much larger the detail is drawn than the part in the model: its
    label's scale ("I  2.5:1") over the sheet's (the title block's "1:1.5")."""
    sheet = [scale_of(t.dxf.text) for t in msp.query(f'TEXT[layer=="{drawn_geometry.TABLE}"]') if scale_of(t.dxf.text)]
    for text in msp.query("TEXT"):
        if text.dxf.text.startswith("I ") and scale_of(text.dxf.text[1:].strip()) and len(sheet) == 1:
            return scale_of(text.dxf.text[1:].strip()) / sheet[0]
    return None


def check_dxf(name, path, drawing, texts, values, coefficients):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(not auditor.has_errors, f"{name}: ezdxf audit: {[e.message for e in auditor.errors][:3]}")
    check(not auditor.fixes, f"{name}: ezdxf had to repair: {[e.message for e in auditor.fixes][:3]}")
    check(doc.dxfversion == "AC1015", f"{name}: version {doc.dxfversion}")
    check(doc.header.get("$INSUNITS") == 4, f"{name}: units are not millimetres")
    for layer, colour in drawn_geometry.LAYERS.items():
        check(layer in doc.layers and doc.layers.get(layer).color == colour,
              f"{name}: no layer {layer} of colour {colour}")
    msp = doc.modelspace()

    # Dimensions: the window's texts, measuring their values.
    expected = sorted(prefix + texts[source] if prefix != "%%d" else texts[source] + prefix
                      for source, prefix in DIMENSIONS[drawing])
    if drawing == "worm" and texts["eccentricity"] not in ("0", ""):
        expected = sorted(expected + [texts["Label24"]])
    # The outline geometry against the design's values, and the geometry
    # each dimension names.
    geometry = drawn_geometry.Geometry(msp)
    findings = drawn_geometry.Findings(name)
    if drawing == "wheel":
        named = drawn_geometry.check_wheel(geometry, values, texts, coefficients, findings)
    elif drawing == "worm":
        named = drawn_geometry.check_hourglass(geometry, values, texts, findings, values["Ra1"], values["Rf1"],
                                               values["L"], values["ls"])
    else:
        named = drawn_geometry.check_hourglass(geometry, values, texts, findings, values["Ra0"], values["Rf0"],
                                               values["L0"], 0)
    enlargement = detail_enlargement(msp)

    found = []
    for dim in msp.query("DIMENSION"):
        text = dim.dxf.text
        found.append(text)
        number = text.replace("%%c", "").replace("%%d", "").lstrip("R")
        measured = dim.get_measurement()
        if dim.dimtype != 5:
            # Lengths times the linear factor of an enlarged detail, as a
            # CAD program measures them again: the entity's own override,
            # else its style's. Each alone must give the true length.
            factor = dim.override().get("dimlfac", 1.0)
            style = doc.dimstyles.get(dim.dxf.dimstyle).dxf.dimlfac
            own = entity_dimlfac(dim)
            check(math.isclose(style, factor, rel_tol=1e-12) and math.isclose(own, factor, rel_tol=1e-12),
                  f"{name}: the dimension {text}: DIMLFAC {factor}, its style's {style}, its own {own}")
            check(factor == 1 or enlargement is not None and math.isclose(factor, 1 / enlargement, rel_tol=1e-12),
                  f"{name}: the dimension {text} measures with {factor}, the detail is {enlargement} times enlarged")
            measured *= factor
        check(abs(measured - float(number)) <= 5e-4 + 1e-9,
              f"{name}: the dimension {text} measures {measured}")
        drawn_geometry.check_dimension(geometry, dim, float(number), named, findings)
        block = dim.get_geometry_block()
        check(block is not None and len(block) > 0, f"{name}: the dimension {text} has no picture")
    check(sorted(found) == expected, f"{name}: dimensions {sorted(found)}, expected {expected}")
    failures.extend(findings.failures)

    # The parameter table, row by row: texts on the table layer at one height.
    rows = {}
    for text in msp.query(f'TEXT[layer=="{drawn_geometry.TABLE}"]'):
        position = text.dxf.align_point if text.dxf.halign or text.dxf.valign else text.dxf.insert
        rows.setdefault(round(position.y, 3), set()).add(text.dxf.text)
    for row_name, source in TABLES[drawing]:
        value = value_of(source, texts)
        check(any(row_name in row and value in row for row in rows.values()),
              f"{name}: no table row {row_name} {value}")

    # Outlines: closed, every vertex apart from the next.
    outlines = msp.query(f'LWPOLYLINE[layer=="{drawn_geometry.OUTLINE}"]')
    check(len(outlines) >= 2, f"{name}: {len(outlines)} outlines")
    for outline in msp.query("LWPOLYLINE"):
        points = [tuple(p[:2]) for p in outline.get_points()]
        check(outline.closed and len(points) >= 3, f"{name}: an open outline")
        check(all(points[i] != points[(i + 1) % len(points)] for i in range(len(points))),
              f"{name}: an outline repeats a vertex")
        check(ezdxf_path.make_path(outline).is_closed, f"{name}: an outline's path does not close")
    return sorted(found)


# The line types' dashes in paper millimetres, as the DXF's LTYPE table has them.
DASHES = {(12.0, 3.0, 0.5, 3.0), (4.0, 1.5)}


def svg_dashes(root):
    """Every stroke-dasharray of the SVG in paper millimetres (its view box):
    the numbers times the scale of their group's transform."""
    patterns = set()
    for element in root.iter():
        dashes = element.get("stroke-dasharray")
        if not dashes or dashes == "none":
            continue
        a, b, c, d = (list(map(float, re.findall(r"-?[\d.e+-]+", element.get("transform", "matrix(1,0,0,1,0,0)"))))
                      + [1, 0, 0, 1])[:4]
        scale = math.sqrt(abs(a * d - b * c))
        patterns.add(tuple(round(float(v) * scale, 6) for v in dashes.split(",")))
    return patterns


def pdf_dashes(path):
    """Every dash pattern (operator d) of the PDF's content streams in paper
    millimetres: the numbers times the scale of the transformation in force
    (cm, saved and restored by q and Q), points turned into millimetres."""
    import zlib
    data = open(path, "rb").read()
    patterns = set()
    for match in re.finditer(rb"stream\r?\n", data):
        try:
            content = zlib.decompressobj().decompress(data[match.end():])
        except zlib.error:
            continue
        matrix, saved, operands = [1.0, 0.0, 0.0, 1.0, 0.0, 0.0], [], []
        for token in re.findall(rb"\[|\]|-?\d*\.?\d+|[A-Za-z*']+", content):
            if token in (b"[", b"]") or re.fullmatch(rb"-?\d*\.?\d+", token):
                operands.append(token)
                continue
            if token == b"q":
                saved.append(matrix)
            elif token == b"Q" and saved:
                matrix = saved.pop()
            elif token == b"cm" and len(operands) >= 6:
                a, b, c, d, e, f = map(float, operands[-6:])
                m = matrix
                matrix = [a * m[0] + b * m[2], a * m[1] + b * m[3], c * m[0] + d * m[2], c * m[1] + d * m[3],
                          e * m[0] + f * m[2] + m[4], e * m[1] + f * m[3] + m[5]]
            elif token == b"d" and b"]" in operands:
                array = operands[operands.index(b"[") + 1:operands.index(b"]")]
                if array:
                    scale = math.sqrt(abs(matrix[0] * matrix[3] - matrix[1] * matrix[2])) * 25.4 / 72
                    patterns.add(tuple(round(float(v) * scale, 6) for v in array))
            operands = []
    return patterns


def pdf_text(path, raw=False):
    result = run(["pdftotext"] + (["-raw"] if raw else []) + [path, "-"])
    check(result.returncode == 0, f"pdftotext {path}: {result.stderr}")
    return result.stdout


def page_sizes(path):
    result = run(["pdfinfo", "-f", "1", "-l", "99", path])
    check(result.returncode == 0 and not result.stderr.strip(), f"pdfinfo {path}: {result.stderr}")
    return re.findall(r"Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts(?: \((\w+)\))?", result.stdout)


def compact(text):
    return re.sub(r"\s", "", text)


def check_design(wormcalc, design, folder):
    name = design["name"]
    texts, values = window_texts(wormcalc, design)
    coefficients = [float(c) for c in design["coefficients"]]
    base = os.path.join(folder, re.sub(r"\W+", "-", name))
    outputs = []
    for drawing in ("worm", "wheel", "hob"):
        for extension in ("dxf", "svg", "pdf"):
            outputs += [f"--drawing-{drawing}", f"{base}-{drawing}.{extension}"]
    result = run([wormcalc] + arguments(design) + outputs + ["--report", f"{base}-report.pdf"])
    if not check(result.returncode == 0, f"{name}: wormcalc failed: {result.stderr}"):
        return

    for drawing in ("worm", "wheel", "hob"):
        label = f"{name}, {drawing}"
        dimensions = check_dxf(label, f"{base}-{drawing}.dxf", drawing, texts, values, coefficients)
        numbers = [d.replace("%%c", "").replace("%%d", "").lstrip("R") for d in dimensions]
        # SVG: every dimension's number among its texts.
        svg = ElementTree.parse(f"{base}-{drawing}.svg").getroot()
        svg_texts = "".join(t.text or "" for t in svg.iter("{http://www.w3.org/2000/svg}text"))
        for number in numbers:
            check(number in svg_texts, f"{label}: the SVG lacks {number}")
        # Centre and hidden lines: the same dashes in paper millimetres in
        # the SVG and in the PDF, those of the DXF's line types.
        # (The PDF's page is fitted to whole device dots: a few in ten
        # thousand.)
        def line_types(patterns):
            return {d for d in DASHES for p in patterns
                    if len(p) == len(d) and all(math.isclose(a, b, rel_tol=1e-3) for a, b in zip(p, d))}
        svg_patterns, pdf_patterns = svg_dashes(svg), pdf_dashes(f"{base}-{drawing}.pdf")
        check(len(line_types(svg_patterns)) == len(svg_patterns) and line_types(svg_patterns) == line_types(pdf_patterns)
              and len(pdf_patterns) == len(svg_patterns) and (12.0, 3.0, 0.5, 3.0) in line_types(svg_patterns),
              f"{label}: dashes in mm, SVG {svg_patterns}, PDF {pdf_patterns}, line types {DASHES}")
        # PDF: its paper, and every dimension's number (turned texts come out
        # character by character: compared without blanks).
        sizes = page_sizes(f"{base}-{drawing}.pdf")
        paper = "A3" if drawing == "worm" else "A4"
        check(len(sizes) == 1 and sizes[0][2] == paper and float(sizes[0][0]) > float(sizes[0][1]),
              f"{label}: PDF page {sizes}")
        raw = compact(pdf_text(f"{base}-{drawing}.pdf", raw=True))
        for number in numbers:
            check(number in raw, f"{label}: the PDF lacks {number}")

    # The report: A4 pages, every input and result text, the design attached.
    report = f"{base}-report.pdf"
    sizes = page_sizes(report)
    check(len(sizes) >= 5 and all(size[2] == "A4" for size in sizes), f"{name}: report pages {sizes}")
    text = compact(pdf_text(report))
    for field in FIELDS:
        check(compact(texts[field]) in text, f"{name}: the report lacks the input {field} {texts[field]}")
    attached = run(["pdfdetach", "-list", report])
    check("design.json" in attached.stdout, f"{name}: no attachment: {attached.stdout}")
    saved = base + "-design.json"
    run(["pdfdetach", "-save", "1", "-o", saved, report])
    with open(saved, encoding="utf-8") as file:
        attached_design = json.load(file)
    for field in FIELDS:
        check(attached_design["inputs"][field] == texts[field], f"{name}: attached input {field}")
    check(attached_design["coefficients"] == [float(c) for c in design["coefficients"]],
          f"{name}: attached coefficients {attached_design['coefficients']}")
    check(attached_design["round-teeth"] == bool(design.get("round-teeth")), f"{name}: attached round-teeth")
    check(len(attached_design["results"]) == 34, f"{name}: {len(attached_design['results'])} attached results")
    for result_line in attached_design["results"]:
        label = result_line["label"]
        check(result_line["text"] == texts[label], f"{name}: attached {label} {result_line['text']}")
        check(compact(texts[label]) in text and result_line["name"] in text,
              f"{name}: the report lacks {label} {result_line['name']} {texts[label]}")
    meta = run(["pdfinfo", "-meta", report]).stdout
    check('pdfaid:part="3"' in meta and 'pdfaid:conformance="B"' in meta, f"{name}: no PDF/A-3b identification")


# The particulars' rows in a design file: from row 16, one per entry in the
# order of the dialog (particulars/particulars.h).
FIRST_PARTICULAR = 16
PARTICULAR_ROWS = {
    "designer": 0, "checker": 1, "approver": 2, "date": 3, "company": 4,
    "worm-number": 5, "worm-material": 6, "worm-heat": 7, "wheel-number": 9, "hob-number": 13,
    "worm-left-shaft-diameter": 17, "worm-left-shaft-length": 18, "worm-right-shaft-diameter": 19,
    "worm-right-shaft-length": 20, "worm-left-shoulder": 21, "worm-shoulder-diameter": 23,
    "wheel-hub-diameter": 27, "wheel-hub-length": 28, "wheel-web": 29, "wheel-rim-inside": 30, "wheel-bore": 31,
    "hob-bore": 34, "hob-hub-diameter": 35, "hob-hub-length": 36,
    "worm-key-width": 24, "worm-key-depth": 25, "worm-key-length": 26, "wheel-key-width": 32, "wheel-key-depth": 33,
    "hob-key-width": 37, "hob-key-depth": 38,
}
# 40 characters each, the most a title entry holds: too long for their cells.
LONG_NUMBER = "QE-2025-0001-ABCDEFGHIJKLMNOPQRSTUVWXYZ1"
LONG_COMPANY = "某某省某某市某某区某某重型机械减速机制造有限责任公司第一分厂设计研究所技术科"
GIVEN = {
    "designer": "李工", "checker": "王工", "approver": "张总", "date": "2025-03-08", "company": LONG_COMPANY,
    "worm-number": LONG_NUMBER, "worm-material": "20CrMnTi", "worm-heat": "渗碳淬火 HRC58～62",
    "wheel-number": "QE-02", "hob-number": "QE-03",
    "worm-left-shaft-diameter": 45.5, "worm-left-shaft-length": 80, "worm-right-shaft-diameter": 40,
    "worm-right-shaft-length": 62.5, "worm-left-shoulder": 15, "worm-shoulder-diameter": 95,
    "wheel-hub-diameter": 125, "wheel-web": 22, "wheel-rim-inside": 270, "wheel-bore": 70,
    "hob-bore": 40, "hob-hub-diameter": 88, "hob-hub-length": 20,
    "worm-key-width": 12, "worm-key-depth": 5, "worm-key-length": 50, "wheel-key-width": 20, "wheel-key-depth": 4.9,
    "hob-key-width": 12, "hob-key-depth": 3.3,
}
# Which entries each drawing dimensions, and what stands before the number.
BODY = {
    "worm": [("worm-left-shaft-diameter", "%%c"), ("worm-left-shaft-length", ""),
             ("worm-right-shaft-diameter", "%%c"), ("worm-right-shaft-length", ""), ("worm-left-shoulder", ""),
             ("worm-shoulder-diameter", "%%c"), ("worm-key-width", ""), ("worm-key-depth", ""),
             ("worm-key-length", "")],
    "wheel": [("wheel-hub-diameter", "%%c"), ("wheel-hub-length", ""), ("wheel-web", ""),
              ("wheel-rim-inside", "%%c"), ("wheel-bore", "%%c"), ("wheel-key-width", ""),
              ("wheel-bore+wheel-key-depth", "")],
    "hob": [("hob-bore", "%%c"), ("hob-hub-diameter", "%%c"), ("hob-hub-length", ""), ("hob-bore+hob-key-depth", ""),
            ("hob-key-width", "")],
}
# The worked example is 8j at A = 200: the band 160 < A <= 250 of grade 8
# holds the worm's deviations and the wheel's upper one; the wheel's lower
# one is missing; grade 7's band of the same distances never answers.
# The columns: the worm's and the wheel's thickness deviations, the centre
# distance's and the mid-plane's (both ±, %%p in DXF), the worm's and the wheel's runouts.
TOLERANCE_ROWS = [(7, 160, 250, [-11, -22, -33, -44, 1, 2, 3, 4]), (8, 160, 250, [-50, -120, 25, None, 48, None, 30, 40])]
TOLERANCES = {"worm": [("Ess1", "-50"), ("Esi1", "-120"), ("Fr1", "30")],
              "wheel": [("Ess2", "+25"), ("Esi2", "未填"), ("fa", "%%p48"), ("fx", "未填"), ("Fr2", "40")]}


def number_text(value):
    return f"{value:g}"


def check_particulars(wormcalc, design, folder):
    try:
        import openpyxl
    except ImportError:
        print("particulars: skipped, python3-openpyxl is not installed")
        return
    import sqlite3
    texts, values = window_texts(wormcalc, design)
    # The hub no longer than the rim, whose span the geometry check measures.
    given = dict(GIVEN, **{"wheel-hub-length": math.floor(0.8 * values["b2"])})
    book = openpyxl.Workbook()
    sheet = book.active
    for row, field in enumerate(FIELDS, 1):
        text = texts[field]
        sheet.cell(row=row, column=1, value=float(text) if text.replace(".", "", 1).isdigit() else text)
    for key, value in given.items():
        sheet.cell(row=FIRST_PARTICULAR + PARTICULAR_ROWS[key], column=1, value=value)
    design_file = os.path.join(folder, "particulars.xlsx")
    book.save(design_file)
    # A copy of wormcalc with its store, the tolerance table filled.
    program = os.path.join(folder, "program")
    os.mkdir(program)
    shutil.copy(wormcalc, program)
    shutil.copy(os.path.join(os.path.dirname(wormcalc), "db1.mdb"), program)
    with sqlite3.connect(os.path.join(program, "db1.mdb")) as store:
        for grade, low, high, thickness in TOLERANCE_ROWS:
            store.execute("INSERT INTO gongcha (DJ, A_FROM, A_TO, WORM_ESS, WORM_ESI, WHEEL_ESS, WHEEL_ESI, "
                          "FA, FX, WORM_FR, WHEEL_FR) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                          (grade, low, high, *thickness))
    copy = os.path.join(program, os.path.basename(wormcalc))
    base = os.path.join(folder, "particulars")
    outputs = []
    for drawing in ("worm", "wheel", "hob"):
        outputs += [f"--drawing-{drawing}", f"{base}-{drawing}.dxf"]
    result = run([copy, design_file, "--coefficients", ",".join(design["coefficients"])] + outputs)
    if not check(result.returncode == 0, f"particulars: wormcalc failed: {result.stderr}"):
        return
    numbers = {"worm": LONG_NUMBER, "wheel": "QE-02", "hob": "QE-03"}
    mates = {"worm": "QE-02", "wheel": LONG_NUMBER, "hob": "QE-02"}
    for drawing in ("worm", "wheel", "hob"):
        name = f"particulars, {drawing}"
        doc = ezdxf.readfile(f"{base}-{drawing}.dxf")
        msp = doc.modelspace()
        table = [t for t in msp.query(f'TEXT[layer=="{drawn_geometry.TABLE}"]')]
        table_texts = {t.dxf.text for t in table}
        for text in ("李工", "王工", "张总", "2025-03-08", "设计", "审核", "批准", "图号", "材料"):
            check(text in table_texts, f"{name}: the title block lacks {text}")
        if drawing == "worm":
            check("20CrMnTi" in table_texts, f"{name}: no material")
            notes = {t.dxf.text for t in msp.query(f'TEXT[layer=="{drawn_geometry.TEXT}"]')}
            check("技术要求" in notes and "5. 热处理：渗碳淬火 HRC58～62" in notes,
                  f"{name}: 技术要求 without the heat treatment: {sorted(notes)}")
        # A text too wide for its cell at 3.5 mm stands at 2.5 mm, the
        # company's name in two lines, top first, that together are the text.
        for whole, count in ([(numbers[drawing], 1)] if drawing == "worm" else []) + [(LONG_COMPANY, 2)]:
            parts = sorted((t for t in table if len(t.dxf.text) > 3 and t.dxf.text in whole
                            and abs(t.dxf.height - 2.5 * scale_of_sheet(msp)) < 1e-6),
                           key=lambda t: -t.dxf.align_point.y)
            check(len(parts) == count and "".join(t.dxf.text for t in parts) == whole,
                  f"{name}: {whole} is not in {count} lines at 2.5 mm: {[t.dxf.text for t in parts]}")
        if drawing != "worm":
            check(numbers[drawing] in table_texts, f"{name}: no drawing number {numbers[drawing]}")
        # The parameter table's rows: the mate's number, the deviations.
        rows = {}
        for text in table:
            position = text.dxf.align_point if text.dxf.halign or text.dxf.valign else text.dxf.insert
            rows.setdefault(round(position.y, 3), set()).add(text.dxf.text)
        mate_found = any("配对件图号" in row and mates[drawing] in row for row in rows.values())
        check(mate_found, f"{name}: no row of the mate's drawing number {mates[drawing]}")
        for symbol, value in TOLERANCES.get(drawing, []):
            check(any(symbol in row and value in row and "μm" in row for row in rows.values()),
                  f"{name}: no row {symbol} {value}")
        # Every body dimension given: its text the entry, measuring the
        # entry, its points on the drawn geometry.
        geometry = drawn_geometry.Geometry(msp)
        findings = drawn_geometry.Findings(name)
        dimensions = {dim.dxf.text: dim for dim in msp.query("DIMENSION")}
        for key, prefix in BODY[drawing]:
            # A hub's keyway is dimensioned d + t, the bore and the depth added.
            value = sum(float(given[part]) for part in key.split("+"))
            text = prefix + number_text(value)
            dim = dimensions.get(text)
            if not check(dim is not None, f"{name}: no dimension {text} of {key}: {sorted(dimensions)}"):
                continue
            check(abs(dim.get_measurement() - value) <= 1e-9, f"{name}: {key} {text} measures {dim.get_measurement()}")
            drawn_geometry.check_dimension(geometry, dim, value, {}, findings)
        failures.extend(findings.failures)


def scale_of_sheet(msp):
    """Model units per paper millimetre: the title block's scale "1:2" -> 2."""
    scales = [scale_of(t.dxf.text) for t in msp.query(f'TEXT[layer=="{drawn_geometry.TABLE}"]') if scale_of(t.dxf.text)]
    return 1 / scales[0] if scales else 1


def check_refusals(wormcalc, design, folder):
    # A failed calculation writes nothing.
    failing = dict(design, **{"speed-ratio": "99"})
    target = os.path.join(folder, "failed.dxf")
    result = run([wormcalc] + arguments(failing) + ["--drawing-worm", target, "--report", target + ".pdf"])
    check(result.returncode == 1, f"a failed calculation exits {result.returncode}")
    check(not os.path.exists(target) and not os.path.exists(target + ".pdf"), "a failed calculation wrote a file")
    # A target that cannot be replaced (a folder of that name) stays as it is.
    occupied = os.path.join(folder, "occupied.dxf")
    os.mkdir(occupied)
    with open(os.path.join(occupied, "inside"), "w") as file:
        file.write("kept")
    before = sorted(os.listdir(folder))
    result = run([wormcalc] + arguments(design) + ["--drawing-worm", occupied])
    check(result.returncode == 1 and "wormcalc: " in result.stderr and occupied in result.stderr,
          f"an unwritable target: exit {result.returncode}, {result.stderr}")
    check(os.path.isdir(occupied) and open(os.path.join(occupied, "inside")).read() == "kept",
          "an unwritable target was changed")
    check(sorted(os.listdir(folder)) == before, "a temporary file was left behind")
    # A file name that names no format is a usage error.
    result = run([wormcalc] + arguments(design) + ["--drawing-hob", os.path.join(folder, "hob.png")])
    check(result.returncode == 2, f"an unknown format exits {result.returncode}")


def main():
    wormcalc, designs_path = sys.argv[1], sys.argv[2]
    with open(designs_path, encoding="utf-8") as file:
        designs = [json.loads(line) for line in file if line.strip()]
    with tempfile.TemporaryDirectory() as folder:
        for design in designs:
            check_design(wormcalc, design, folder)
        check_refusals(wormcalc, designs[0], folder)
        check_particulars(wormcalc, designs[0], folder)
    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(designs)} designs, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
