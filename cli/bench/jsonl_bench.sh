#!/bin/bash
# Designs per second of wormcalc --jsonl end to end (process start, the
# coefficient store and the writing of the results included), for 20,000 and
# for 200,000 designs, output discarded:
#   cli/bench/jsonl_bench.sh build/bin/wormcalc [OLD_WORMCALC]
# The designs are random but the same at every run (a fixed seed): centre
# distances of the usual series, ratios, starts, main base circles and pitch
# diameters around the hints, about one in six failing or refused (a ratio
# that does not match the teeth, a base circle beyond the wheel, a text that
# is no number, an unknown key, a line that is no JSON). With OLD_WORMCALC the
# two are timed in turn and their outputs compared byte for byte. Run it on a
# quiet machine; farm-bench (where installed) gives the median of several runs.
set -euo pipefail
wormcalc=${1:?usage: jsonl_bench.sh WORMCALC [OLD_WORMCALC]}
old=${2:-}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

/usr/bin/python3 - "$folder" <<'PYTHON'
import json, random, sys
folder = sys.argv[1]
for count, seed in ((20000, 2), (200000, 1)):
    rng = random.Random(seed)
    with open("%s/%d.jsonl" % (folder, count), "w", encoding="utf-8") as out:
        for _ in range(count):
            a = rng.choice([100, 125, 160, 200, 250, 280, 315, 355, 400, 450, 500, 560, 630, 710])
            a += rng.choice([0, 0, 0, 0.5, 12.5])
            z1 = rng.choice([1, 1, 2, 2, 3, 4])
            i = rng.choice([10, 12.5, 16, 20, 25, 31.5, 40, 50, 63])
            design = {"centre-distance": str(a), "speed-ratio": str(i), "teeth": str(round(i * z1)),
                      "starts": str(z1), "base-diameter": str(round(a * rng.uniform(0.6, 0.7), rng.choice([0, 1, 2]))),
                      "pitch-diameter": str(round(a * rng.uniform(0.3, 0.45), rng.choice([0, 1, 2])))}
            r = rng.random()
            if r < 0.05: design["eccentricity"] = str(round(rng.uniform(-2, 2), 2))
            if r < 0.1: design["backlash"] = str(round(rng.uniform(0.1, 0.6), 2))
            if 0.1 < r < 0.13: design["base-diameter"] = str(round(a * 2.5))
            if 0.13 < r < 0.15: design["pitch-diameter"] = rng.choice(["", "abc", "1e400", "-5"])
            if 0.15 < r < 0.16: design["round-teeth"] = True
            if 0.16 < r < 0.165: design["unknown-key"] = "x"
            out.write(json.dumps(design, ensure_ascii=False) + "\n")
            if 0.165 < r < 0.167: out.write("{not json\n")
PYTHON

rate() {  # designs, seconds -> designs per second
  /usr/bin/python3 -c "import sys; print('%.0f' % (int(sys.argv[1]) / float(sys.argv[2])))" "$1" "$2"
}
seconds() {  # input, command... -> elapsed seconds of one run
  local input=$1 start end
  shift
  start=$(date +%s.%N)
  "$@" --jsonl < "$input" > /dev/null || true  # refused lines end with status 2
  end=$(date +%s.%N)
  /usr/bin/python3 -c "import sys; print(float(sys.argv[2]) - float(sys.argv[1]))" "$start" "$end"
}

for count in 20000 200000; do
  input="$folder/$count.jsonl"
  if [ -n "$old" ]; then
    "$old" --jsonl < "$input" > "$folder/old.out" 2> "$folder/old.err" || true
    "$wormcalc" --jsonl < "$input" > "$folder/new.out" 2> "$folder/new.err" || true
    cmp -s "$folder/old.out" "$folder/new.out" && cmp -s "$folder/old.err" "$folder/new.err" ||
      { echo "$count designs: the outputs differ" >&2; exit 1; }
  fi
  if command -v farm-bench > /dev/null; then
    echo "--jsonl, $count designs:"
    if [ -n "$old" ]; then
      farm-bench -n 9 --vs "sh -c 'exec $old --jsonl < $input > /dev/null'" -- \
        sh -c "exec $wormcalc --jsonl < $input > /dev/null" | grep -E 'wall|cpu'
    else
      farm-bench -n 9 -- sh -c "exec $wormcalc --jsonl < $input > /dev/null" | grep -E 'wall|cpu'
    fi
  else
    elapsed=$(seconds "$input" "$wormcalc")
    echo "--jsonl: $count designs in ${elapsed}s: $(rate "$count" "$elapsed") designs/s"
  fi
done
