#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and each
# fuzz target for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Tests start their own servers on 127.0.0.1; a proxy must not intercept them.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 300)

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWORMGEAR_SANITIZE=ON -DWORMGEAR_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
# Leak reports come from the system's font and display libraries, not ours;
# the calculation core is checked for leaks on its own below.
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --output-on-failure -j"$jobs" --timeout 600)
ASAN_OPTIONS=detect_leaks=1 build-sanitize/calc/calc_tests --gtest_brief=1

echo "== fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWORMGEAR_FUZZ=ON -DWORMGEAR_GUI=OFF -DWORMGEAR_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target parse_fuzz calculation_fuzz
for target in parse_fuzz calculation_fuzz; do
  mkdir -p "build-fuzz/corpus-$target"
  "build-fuzz/calc/$target" -max_total_time="${WORMGEAR_FUZZ_SECONDS:-20}" -print_final_stats=1 \
    "build-fuzz/corpus-$target" calc/fuzz/seeds 2>&1 | tail -n 3
done
echo "== all tests passed"
