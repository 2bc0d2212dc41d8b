#!/usr/bin/env bash
# After a reviewed, intended change of the drawings: takes the worked
# example's pictures that the golden-picture test painted last
# (BUILD/drawing/pictures, BUILD defaulting to build) as the new golden ones.
# Look at each picture (and its difference-*.png) before you accept it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
pictures=${1:-$here/../../build}/drawing/pictures
for name in worm wheel hob; do
  painted=$pictures/$name.png
  golden=$here/golden/$name.png
  if [ ! -f "$painted" ]; then
    echo "no $painted: run build/drawing/drawing_render_tests first" >&2
    exit 1
  fi
  if cmp -s "$painted" "$golden"; then
    echo "$name.png unchanged"
  else
    cp "$painted" "$golden"
    echo "$name.png accepted"
  fi
done
