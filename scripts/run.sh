#!/usr/bin/env bash
# Installs what is missing, builds the programs, and starts wormgear. Without
# a display the command-line calculator runs the worked example instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# The tests and benchmarks are switched off by name, as the test command
# switches them on by name: either may have configured build/ before.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DWORMGEAR_BENCHMARKS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target wormgear wormcalc

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/wormgear "$@"
fi
echo "No display is available (DISPLAY and WAYLAND_DISPLAY are unset), so the window cannot open."
echo "Running the command-line calculator on the worked example instead:"
echo "  build/bin/wormcalc --centre-distance 200 --speed-ratio 25 --teeth 50 --starts 2 --base-diameter 130 --pitch-diameter 78"
echo
exec build/bin/wormcalc --centre-distance 200 --speed-ratio 25 --teeth 50 --starts 2 \
  --base-diameter 130 --pitch-diameter 78
