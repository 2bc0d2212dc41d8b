#!/bin/sh
# Start-up time of the window program: from process start until the main
# window is on the screen (creation step, coefficient load, version check),
# with the server pointed at a closed port on 127.0.0.1 so no network is used.
# The probe is the program's own start that leaves right after showing, so
# each figure also holds the exit.
# Usage: startup_bench.sh [build/bin/wormgear_startup_probe] [runs]
set -eu
program=${1:-build/bin/wormgear_startup_probe}
runs=${2:-20}
export QT_QPA_PLATFORM=offscreen
export WORMGEAR_SERVER=${WORMGEAR_SERVER:-http://127.0.0.1:9}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
"$program" >/dev/null 2>&1 || true  # warm the file cache once
i=0
while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    "$program" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
    i=$((i + 1))
done | sort -n | awk '{ t[NR] = $1 } END {
    printf "start-up over %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n",
           NR, t[1] / 1000, t[int((NR + 1) / 2)] / 1000, t[NR] / 1000 }'
