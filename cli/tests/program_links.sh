#!/bin/bash
# What wormcalc loads: no Qt Gui, Qt Svg, D-Bus or widgets for any run (ldd
# lists every library the loader maps at start, its dependencies' included),
# and the painting module beside it carries Qt Gui and Qt Svg in its place.
#   program_links.sh WORMCALC
# Exit 0 when it holds, 1 when not, 77 (skipped) without ldd and readelf.
set -euo pipefail
wormcalc=${1:?usage: program_links.sh WORMCALC}
module=$(dirname "$wormcalc")/wormcalc-painting.so
for tool in ldd readelf; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
failed=0
loaded=$(ldd "$wormcalc")
for library in libQt6Gui libQt6Svg libQt6DBus libQt6Widgets libQt6OpenGL libTKernel libTKBRep; do
    if grep -q "$library" <<<"$loaded"; then
        echo "FAIL: wormcalc loads $library at every start:"
        grep "$library" <<<"$loaded"
        failed=1
    fi
done
grep -q libQt6Core <<<"$loaded" || { echo "FAIL: wormcalc loads no libQt6Core (ldd: $loaded)"; failed=1; }
if [[ ! -f $module ]]; then
    echo "FAIL: no painting module $module"
    exit 1
fi
needed=$(readelf -d "$module" | grep NEEDED)
for library in libQt6Gui libQt6Svg; do
    grep -q "$library" <<<"$needed" || { echo "FAIL: the painting module needs no $library"; failed=1; }
done
# The module exports its entry and nothing of the libraries linked into it
# (beside the linker's own marks of its segments).
exported=$(readelf --dyn-syms -W "$module" |
    awk '$5 == "GLOBAL" && $7 != "UND" && $8 !~ /^(_end|_edata|__bss_start)$/ {print $8}')
if [[ $exported != wormgear_painting_module* ]] || [[ $(wc -l <<<"$exported") -ne 1 ]]; then
    echo "FAIL: the painting module exports more than its entry:"
    head -20 <<<"$exported"
    failed=1
fi
exit $failed
