#!/usr/bin/env python3
"""Every text the sources hand to Qt's translation has a finished English
translation in the repository's .ts file.

    check_translations.py LUPDATE ROOT TS            check (the ctest case)
    check_translations.py LUPDATE ROOT TS --update   bring TS up to date with the sources

lupdate reads the sources (every .cpp and .h outside build folders, tests,
fuzz targets and benchmarks) into a scratch file; each (context, source) it
finds must stand in TS with a translation that is finished, not empty, and
keeps the source's %1, %2 ... place markers. Exit 0 when all are, 1 otherwise
with the texts that are not.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SKIPPED_FOLDERS = {"tests", "fuzz", "bench", "testing", ".git"}


def source_files(root):
    files = []
    for folder, subfolders, names in os.walk(root):
        subfolders[:] = sorted(d for d in subfolders if d not in SKIPPED_FOLDERS and not d.startswith("build"))
        files += [os.path.join(folder, n) for n in sorted(names) if n.endswith((".cpp", ".h"))]
    return files


def run_lupdate(lupdate, root, ts):
    command = [lupdate, "-silent", "-locations", "none", "-no-ui-lines", "-I", root] + source_files(root)
    subprocess.run(command + ["-ts", ts], check=True, stdout=subprocess.DEVNULL)


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
    return sorted(set(re.findall(r"%\d|%n", text)))


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
