#!/bin/bash
# Designs per second of wormcalc --sweep into --csv with the output discarded,
# and of the --jsonl batch, end to end (process start included):
#   cli/bench/sweep_bench.sh build/bin/wormcalc
# Run it on a quiet machine; the Google Benchmark program build/cli/wormcalc_bench
# measures the same without the process around it.
set -euo pipefail
wormcalc=${1:?usage: sweep_bench.sh WORMCALC}
coefficients=0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9
design=(--centre-distance 200 --speed-ratio 25 --teeth 50 --starts 2
        --coefficients "$coefficients")

rate() {  # designs, seconds -> designs per second
  /usr/bin/python3 -c "import sys; print('%.0f' % (int(sys.argv[1]) / float(sys.argv[2])))" "$1" "$2"
}
seconds() {  # command... -> elapsed seconds
  local start end
  start=$(date +%s.%N)
  "$@" > /dev/null
  end=$(date +%s.%N)
  /usr/bin/python3 -c "import sys; print(float(sys.argv[2]) - float(sys.argv[1]))" "$start" "$end"
}

# The main base circle from 120 to 140 in steps of 0.02 with the worm pitch
# diameter from 70 to 80 in steps of 0.01: 1001 * 1001 designs around the hints.
designs=1002001
sweep=(--sweep base-diameter=120:140:0.02 --sweep pitch-diameter=70:80:0.01)
for threads in 1 2; do
  elapsed=$(seconds "$wormcalc" "${design[@]}" "${sweep[@]}" --csv --threads "$threads")
  echo "sweep --csv, $threads thread(s): $designs designs in ${elapsed}s: $(rate $designs "$elapsed") designs/s"
done

batch=$(mktemp)
trap 'rm -f "$batch"' EXIT
line='{"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78"}'
for _ in $(seq 200000); do echo "$line"; done > "$batch"
elapsed=$(seconds bash -c "\"$wormcalc\" --jsonl --coefficients $coefficients < \"$batch\"")
echo "--jsonl: 200000 designs in ${elapsed}s: $(rate 200000 "$elapsed") designs/s"
