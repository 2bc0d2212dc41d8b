#!/usr/bin/python3
"""wormcalc's --step-worm read back by a reader of its own (the STEP file's
entities parsed here, not by the library that wrote it).

    step_read_back.py WORMCALC

The worked example's worm: an AP214 file in millimetres, one solid named by
the worm's drawing number, standard output the results alone, its vertices no farther from the worm axis than
the largest tip diameter allows and within the body's length along it, both
tip-arc ends and the root reached; a design whose checks find an error is
refused without --force and nothing is written. Exit 1 on the first
difference.
"""

import json
import math
import os
import re
import subprocess
import sys
import tempfile

EXAMPLE = ["--centre-distance", "200", "--speed-ratio", "25", "--teeth", "50", "--starts", "2",
           "--base-diameter", "130", "--pitch-diameter", "78",
           "--coefficients", "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9"]


def expect(condition, what):
    if not condition:
        print("FAIL:", what)
        sys.exit(1)


def shown_text(wormcalc):
    return subprocess.run([wormcalc] + EXAMPLE, capture_output=True, text=True).stdout


def entities(text):
    """#n = NAME(ARGS); as {n: (NAME, ARGS)} over the DATA section."""
    data = text[text.index("DATA;") + 5:text.index("ENDSEC;", text.index("DATA;"))]
    found = {}
    for match in re.finditer(r"#(\d+)\s*=\s*([A-Z_0-9]*)\s*(\(.*?\));", data, re.S):
        found[int(match.group(1))] = (match.group(2), match.group(3))
    return found


def main():
    wormcalc = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        shown = subprocess.run([wormcalc, "--json"] + EXAMPLE, capture_output=True, text=True)
        expect(shown.returncode == 0, "the worked example calculates: " + shown.stderr)
        values = {line["symbol"]: line["value"] for line in json.loads(shown.stdout)["lines"]}
        tip, length = values["da1max"] / 2, values["L"]

        path = os.path.join(folder, "worm.step")
        done = subprocess.run([wormcalc] + EXAMPLE + ["--step-worm", path], capture_output=True, text=True)
        expect(done.returncode == 0, "--step-worm succeeds: " + done.stderr)
        expect(done.stdout == shown_text(wormcalc), "standard output carries the results alone")
        with open(path, encoding="ascii") as f:
            text = f.read()
        expect(text.startswith("ISO-10303-21;"), "a STEP exchange file")
        expect("AUTOMOTIVE_DESIGN" in text, "AP214")
        found = entities(text)
        kinds = [kind for kind, _ in found.values()]
        expect(kinds.count("MANIFOLD_SOLID_BREP") == 1, "one solid")
        expect(any(kind == "PRODUCT" and args.startswith("('WG-01 worm'") for kind, args in found.values()),
               "the product named by the worm's drawing number")
        expect(re.search(r"LENGTH_UNIT\(\s*\)\s*NAMED_UNIT\(\s*\*\s*\)\s*SI_UNIT\(\s*\.MILLI\.\s*,\s*\.METRE\.", text),
               "lengths in millimetres")
        points = []
        for kind, args in found.values():
            if kind == "VERTEX_POINT":
                target = int(re.search(r"#(\d+)", args).group(1))
                numbers = re.findall(r"[-+0-9.E]+", found[target][1].split("(", 2)[2])
                points.append(tuple(float(n) for n in numbers[:3]))
        expect(len(points) > 20, "the solid's vertices")
        radii = [math.hypot(x, z) for x, _, z in points]
        expect(max(radii) <= tip + 0.001, "no vertex beyond the largest tip diameter: %g > %g" % (max(radii), tip))
        ends = [y for (x, y, z), r in zip(points, radii) if abs(r - tip) < 0.001]
        expect(any(y < -length / 2 + 0.01 for y in ends) and any(y > length / 2 - 0.01 for y in ends),
               "the tip arc reaches the largest tip diameter at both ends of the working length")

        refused = os.path.join(folder, "refused.step")
        done = subprocess.run([wormcalc] + EXAMPLE + ["--pitch-diameter", "5", "--step-worm", refused],
                              capture_output=True, text=True)
        expect(done.returncode == 1, "a design with errors is refused")
        expect("--force" in done.stderr, "the refusal names --force: " + done.stderr)
        expect(not os.path.exists(refused), "nothing is written for a refused design")
        expect(os.listdir(folder) == ["worm.step"], "no temporary file is left: %s" % os.listdir(folder))
    print("ok")


if __name__ == "__main__":
    main()
