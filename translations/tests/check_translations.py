#!/usr/bin/env python3
"""Every text the sources hand to Qt's translation has a finished English
translation in the repository's .ts file.

    check_translations.py LUPDATE ROOT TS            check (the ctest case)
    check_translations.py LUPDATE ROOT TS --update   bring TS up to date with the sources

lupdate reads the sources (every .cpp and .h outside build folders, tests,
fuzz targets and benchmarks) into a scratch file; each (context, source) it
finds must stand in TS with a translation that is finished, not empty, and
keeps the source's %1, %2 ... and {name} place markers. Exit 0 when all are,
1 otherwise with the texts that are not.

The sheet templates (export/templates/*.sheet) are no C++: each text with a
Chinese character of those made in English too (the ones with an
"english-widths" line) is handed to lupdate as a QT_TRANSLATE_NOOP in the
context wormgear::Sheets, from which the build makes the English templates
(make_template with the catalogue).
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SKIPPED_FOLDERS = {"tests", "fuzz", "bench", "testing", ".git"}
SHEET_FOLDER = os.path.join("export", "templates")
SHEET_CONTEXT = "wormgear::Sheets"
# A CJK character or full-width form: the texts of a sheet that are translated
# (make_template's rule; "—", "°" and the Greek symbols stay as they are).
CHINESE = re.compile("[\u3000-\u30ff\u3400-\u9fff\uff00-\uffef]")


def source_files(root):
    files = []
    for folder, subfolders, names in os.walk(root):
        subfolders[:] = sorted(d for d in subfolders if d not in SKIPPED_FOLDERS and not d.startswith("build"))
        files += [os.path.join(folder, n) for n in sorted(names) if n.endswith((".cpp", ".h"))]
    return files


def sheet_texts(root):
    """Every text of the sheet descriptions that make_template translates."""
    texts = []
    folder = os.path.join(root, SHEET_FOLDER)
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".sheet"):
            continue
        with open(os.path.join(folder, name), encoding="utf-8") as description:
            lines = description.read().splitlines()
        if not any(line.startswith("english-widths") for line in lines):
            continue
        for line in lines:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            rest = line.split(None, 1)[1] if len(line.split(None, 1)) > 1 else ""
            for field in rest.split("|"):
                field = field.strip()
                if CHINESE.search(field) and field not in texts:
                    texts.append(field)
    return texts


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def run_lupdate(lupdate, root, ts):
    with tempfile.TemporaryDirectory() as scratch:
        sheets = os.path.join(scratch, "sheet_texts.cpp")
        with open(sheets, "w", encoding="utf-8") as out:
            for text in sheet_texts(root):
                out.write("QT_TRANSLATE_NOOP(%s, %s);\n" % (c_string(SHEET_CONTEXT), c_string(text)))
        command = [lupdate, "-silent", "-locations", "none", "-no-ui-lines", "-I", root] + source_files(root)
        subprocess.run(command + [sheets, "-ts", ts], check=True, stdout=subprocess.DEVNULL)


def messages(ts):
    """(context, source) -> (translation text, translation type) of every message."""
    found = {}
    for context in ET.parse(ts).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            kind = None if translation is None else translation.get("type")
            if translation is None:
                texts = [""]
            elif message.get("numerus") == "yes":  # "%n error", "%n errors": every form
                texts = [form.text or "" for form in translation.iter("numerusform")] or [""]
            else:
                texts = [translation.text or ""]
            found[(name, message.findtext("source"))] = (texts, kind)
    return found


def markers(text):
    return sorted(set(re.findall(r"%\d|%n|\{[a-z]+\}", text)))


def main():
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    lupdate, root, ts = sys.argv[1:4]
    if sys.argv[4:] == ["--update"]:
        run_lupdate(lupdate, root, ts)
        print("updated", ts)
        return 0
    with tempfile.TemporaryDirectory() as scratch:
        scratch_ts = os.path.join(scratch, "sources_en.ts")
        run_lupdate(lupdate, root, scratch_ts)
        wanted = messages(scratch_ts)
    kept = messages(ts)
    problems = []
    for (context, source) in sorted(wanted):
        if (context, source) not in kept:
            problems.append(f"{context}: not in {os.path.basename(ts)}: {source!r}")
            continue
        texts, kind = kept[(context, source)]
        if kind in ("unfinished", "vanished", "obsolete"):
            problems.append(f"{context}: translation {kind}: {source!r}")
        elif any(not text.strip() for text in texts):
            problems.append(f"{context}: empty translation: {source!r}")
        elif any(markers(text) != markers(source) for text in texts):
            problems.append(f"{context}: place markers differ: {source!r} -> {texts!r}")
    if not wanted:
        problems.append("lupdate found no texts at all")
    for problem in problems:
        print(problem)
    print(f"{len(wanted)} texts, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
