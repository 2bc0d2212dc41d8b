#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build with
# its benchmarks, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzz target for a short while. Every
# build treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Tests start their own servers on 127.0.0.1; a proxy must not intercept them.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
strict=(-G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON)

echo "== build and test"
# BUILD_TESTING by name: the run command leaves it off in build/.
cmake -S . -B build "${strict[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DWORMGEAR_BENCHMARKS=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 300)

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize "${strict[@]}" -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DWORMGEAR_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
# Leak reports come from the system's font and display libraries, not ours;
# the calculation core is checked for leaks on its own below.
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --output-on-failure -j"$jobs" --timeout 600)
ASAN_OPTIONS=detect_leaks=1 build-sanitize/calc/calc_tests --gtest_brief=1

echo "== fuzz targets"
# Each target has its seeds in <folder>/fuzz/seeds/<target>, or in
# <folder>/fuzz/seeds when it is its folder's only target.
fuzz_targets=(calc/parse_fuzz calc/calculation_fuzz export/workbook_fuzz export/package_fuzz export/legacy_fuzz
              export/opendocument_fuzz
              cli/jsonl_fuzz settings/coefficient_check_fuzz app/online/published_text_fuzz drawing/drawing_fuzz)
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${strict[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWORMGEAR_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target "${fuzz_targets[@]##*/}"
for path in "${fuzz_targets[@]}"; do
  folder=${path%/*}
  target=${path##*/}
  seeds="$folder/fuzz/seeds/$target"
  [ -d "$seeds" ] || seeds="$folder/fuzz/seeds"
  mkdir -p "build-fuzz/corpus-$target"
  "build-fuzz/$path" -max_total_time="${WORMGEAR_FUZZ_SECONDS:-20}" -print_final_stats=1 \
    "build-fuzz/corpus-$target" "$seeds" 2>&1 | tail -n 3
done
echo "== all tests passed"
