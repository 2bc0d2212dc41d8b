#!/usr/bin/python3
"""wormcalc's meshing outputs read back by Python's own json and csv readers,
and held against the kinematics of the pair worked out here.

    meshing_read_back.py WORMCALC

For designs of each ratio class: every contact point of `--meshing --json`
slides at |v_wheel - v_worm| of its position (the fixed frame: wheel axis z,
worm axis through (A, 0, 0) along y, the wheel turning about +z, the
right-handed worm about -y, i times as fast), lies between the worm's tip
and root arcs in its axial section and within the rim; the pitch point
slides at w1 r1 / cos(gamma); the sliding speeds scale with --input-speed.
The measuring grid of --flank-points has unit outward normals, every start
of both flanks, and lies between the tip and root arcs. A design whose
checks find an error gets no analysis. Exit 1 on the first difference.
"""

import csv
import io
import json
import math
import subprocess
import sys
import tempfile

COEFFICIENTS = "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9"
DESIGNS = [  # A, i, z2, z1, Db, d1, E
    ("200", "25", "50", "2", "130", "78", "0"),
    ("100", "8", "32", "4", "63", "40", "15"),
    ("500", "45", "45", "1", "330", "160", "0"),
]


def run(wormcalc, args):
    done = subprocess.run([wormcalc] + args, capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


def expect(condition, what):
    if not condition:
        print("meshing_read_back: " + what, file=sys.stderr)
        sys.exit(1)


def options(design):
    A, i, z2, z1, Db, d1, E = design
    return ["--centre-distance", A, "--speed-ratio", i, "--teeth", z2, "--starts", z1, "--base-diameter", Db,
            "--pitch-diameter", d1, "--eccentricity", E, "--coefficients", COEFFICIENTS]


def results(wormcalc, design):
    status, out, err = run(wormcalc, options(design) + ["--json"])
    expect(status == 0, err)
    return {line["symbol"]: line["value"] for line in json.loads(out)["lines"]}


def sliding(point, A, i, rpm):
    w1 = 2 * math.pi * rpm / 60
    w2 = w1 / i
    x, y, z = point["x"], point["y"], point["z"]
    wheel = (-w2 * y, w2 * x, 0.0)
    # -w1 e_y x (X - C), C = (A, 0, 0)
    worm = (-w1 * z, 0.0, w1 * (x - A))
    return math.dist(wheel, worm) / 1000


def axial(A, rho, y):
    return A - rho, y


def between_arcs(r, qx, qy, slack):
    tip = math.hypot(qx + r["E"], qy) - r["Ra1"]
    root = r["Rf1"] - math.hypot(qx, qy)
    return tip >= -slack and root >= -slack


def check(wormcalc, design):
    A, i, z2, z1, Db, d1, E = (float(v) for v in design)
    r = results(wormcalc, design)
    status, out, err = run(wormcalc, options(design) + ["--meshing", "--json"])
    expect(status == 0, "--meshing --json: " + err)
    m = json.loads(out)
    expect(m["teeth_in_contact"]["min"] <= m["teeth_in_contact"]["max"], "teeth %r" % m["teeth_in_contact"])
    expect(m["teeth_in_contact"]["min"] >= 1, "no tooth in contact")
    rpm = m["worm_speed_rpm"]
    expect(rpm == 1500, "the default speed %r" % rpm)
    # The pitch point: w1 r1 / cos(gamma), tan(gamma) = d2 / (i d1).
    d2 = 2 * A - d1
    gamma = math.atan(d2 / i / d1)
    pitch = m["pitch_point"]
    expect(abs(pitch["sliding_speed_m_s"] - 2 * math.pi * rpm / 60 * d1 / 2 / math.cos(gamma) / 1000) < 1e-9,
           "pitch point sliding %r" % pitch)
    expect((pitch["x"], pitch["y"], pitch["z"]) == (d2 / 2, 0, 0), "pitch point at %r" % pitch)
    first = second = 0
    for line in m["contact_lines"]:
        expect(line["branch"] in ("first", "second"), "branch %r" % line["branch"])
        first += line["branch"] == "first"
        second += line["branch"] == "second"
        for p in line["points"]:
            expect(abs(p["sliding_speed_m_s"] - sliding(p, A, i, rpm)) < 1e-9 * (1 + p["sliding_speed_m_s"]),
                   "sliding speed at %r" % p)
            expect(0 <= p["lubrication_angle_deg"] <= 90, "lubrication angle %r" % p)
            rho = math.hypot(p["x"] - A, p["z"])
            expect(between_arcs(r, A - rho, p["y"], 1e-6), "contact point off the tooth: %r" % p)
            expect(abs(p["z"]) <= r["b2"] / 2 + 1e-9, "contact point off the rim: %r" % p)
    expect(first > 0 and second > 0, "both branches: %d first, %d second" % (first, second))
    for name in ("first", "second"):
        expect(isinstance(m["limit_lines"][name]["in_tooth_zone"], bool), "limit line %s" % name)
    expect(len(m["modification"]["points"]) >= 10, "modification points")
    # Twice the speed: twice the sliding.
    status, out, _ = run(wormcalc, options(design) + ["--meshing", "--json", "--input-speed", "3000"])
    fast = json.loads(out)
    expect(abs(fast["pitch_point"]["sliding_speed_m_s"] - 2 * pitch["sliding_speed_m_s"]) < 1e-9, "speed scaling")

    with tempfile.TemporaryDirectory() as folder:
        path = folder + "/flank.csv"
        status, _, err = run(wormcalc, options(design) + ["--flank-points", path])
        expect(status == 0, "--flank-points: " + err)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        lines = [line for line in text.splitlines() if not line.startswith("#")]
        expect(text.startswith("# wormgear") and "worm frame, mm" in text, "the header names frame and units")
        rows = list(csv.DictReader(io.StringIO("\n".join(lines))))
        expect(len(rows) > 0, "no flank points")
        seen = set()
        for row in rows:
            x, y, z = float(row["x"]), float(row["y"]), float(row["z"])
            n = math.hypot(float(row["nx"]), float(row["ny"]), float(row["nz"]))
            expect(abs(n - 1) < 1e-9, "normal length %r" % row)
            expect(between_arcs(r, A - math.hypot(x, z), y, 1e-6), "flank point off the tooth: %r" % row)
            seen.add((row["flank"], int(row["start"])))
        expect(seen == {(f, s) for f in ("upper", "lower") for s in range(int(z1))}, "flanks and starts %r" % seen)


def main(wormcalc):
    for design in DESIGNS:
        check(wormcalc, design)
    # A design whose checks find an error: no analysis, no file.
    failed = options(DESIGNS[0])
    failed[failed.index("--pitch-diameter") + 1] = "5"
    status, out, err = run(wormcalc, failed + ["--meshing", "--json"])
    expect(status == 1 and out == "" and "no meshing analysis" in err, "d1 = 5: %r %r" % (out, err))
    print("meshing_read_back: contact points, pitch point, speeds and the measuring grid read back")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
