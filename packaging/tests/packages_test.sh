#!/usr/bin/env bash
# The two packages CPack makes from the build: the .deb listed with dpkg-deb
# (what it installs, with which owner and permissions, and what it depends
# on), and the portable .tar.gz unpacked and run.
#
#   packages_test.sh BUILD_DIR APP_ID      (exit 77: dpkg-deb or dpkg-shlibdeps is missing)
set -uo pipefail
build=$1
app_id=$2

# shellcheck source=packaging/tests/test_helpers.sh
source "$(dirname "$0")/test_helpers.sh"
require cpack dpkg-deb dpkg-shlibdeps file
if ! cpack --config "$build/CPackConfig.cmake" -B "$work" -G "DEB;TGZ" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAILED: cpack"
  exit 1
fi
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
debs=("$work"/*.deb)
archives=("$work"/*.tar.gz)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || {
  echo "FAILED: cpack made no single .deb: ${debs[*]}"
  exit 1
}
[ ${#archives[@]} -eq 1 ] && [ -f "${archives[0]}" ] || {
  echo "FAILED: cpack made no single .tar.gz: ${archives[*]}"
  exit 1
}
deb=${debs[0]}
archive=${archives[0]}
[ "$(basename "$deb")" = "wormgear_${version}_$(dpkg --print-architecture).deb" ] || fail "the .deb is named $(basename "$deb")"

# ---- the .deb: each entry as dpkg-deb -c lists it: "perms owner size date time path [-> target]"
listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb -c"
entry() {  # path -> "perms owner [target]"
  awk -v path="./$1" '$6 == path { print $1, $2, ($7 == "->" ? $8 : "") }' <<<"$listing"
}
expect() {  # path perms [target]
  local got
  got=$(entry "$1")
  [ "$got" = "$2 root/root ${3:-}" ] || fail "$1: [$got], expected [$2 root/root ${3:-}]"
}
for program in wormgear wormcalc; do
  expect "usr/lib/wormgear/$program" -rwxr-xr-x
  expect "usr/bin/$program" lrwxrwxrwx "../lib/wormgear/$program"
done
expect usr/lib/wormgear/wormcalc-painting.so -rw-r--r--  # the module wormcalc loads to paint (dlopen reads it)
for file in db1.mdb db1.ccq 1.xls 11.xls 1111.xls 111.xls 1_en.xls 11_en.xls 1111_en.xls wormgear_en.qm v.txt; do
  expect "usr/lib/wormgear/$file" -rw-r--r--
done
# The solids module wormcalc loads for --step-*.
expect usr/lib/wormgear/wormgear-solids.so -rw-r--r--
for file in "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
  "usr/share/icons/hicolor/scalable/apps/$app_id.svg" "usr/share/mime/packages/$app_id.xml" \
  usr/share/man/man1/wormcalc.1.gz usr/share/man/man1/wormgear.1.gz \
  usr/share/bash-completion/completions/wormcalc usr/share/doc/wormgear/copyright \
  usr/share/doc/wormgear/changelog.gz; do
  expect "$file" -rw-r--r--
done
# Nothing else: every file is one of the above, everything lies under /usr,
# and the portable archive's extras (LICENSE, README.md at the root) are not in.
files=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sort)
[ "$(wc -l <<<"$files")" -eq 26 ] || fail "the .deb holds $(wc -l <<<"$files") files, expected 26: $files"
awk '{ print $6 }' <<<"$listing" | grep -v '^\./usr/' | grep -qv '^\./$' && fail "entries outside /usr"
awk '$2 != "root/root" { print }' <<<"$listing" | grep -q . && fail "entries not owned by root"

# ---- control: shared-library dependencies from dpkg-shlibdeps, plus what it cannot see
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = wormgear ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
names() {  # the package names of a relation field, one a line
  tr ',|' '\n\n' <<<"$1" | awk '{ print $1 }'
}
depends=$(names "$(field Depends)")
for package in fonts-wqy-microhei libqt6sql6-sqlite libqt6widgets6 libcurl4 libqt6sql6 libzip4 libfreexl1 \
  libpugixml1v5 libc6 libstdc++6 libqt6charts6 qt6-translations-l10n qt6-qpa-plugins libocct-data-exchange-7.6; do
  grep -qxF "$package" <<<"$depends" || fail "Depends lacks $package: $(field Depends)"
done
names "$(field Recommends)" | grep -qxF libqt6svg6 || fail "Recommends lacks libqt6svg6"
[ -n "$(field Description)" ] || fail "no Description"

# ---- the .deb's programs are stripped and carry no path into the build
dpkg-deb -x "$deb" "$work/deb"
for program in wormgear wormcalc; do
  file "$work/deb/usr/lib/wormgear/$program" | grep -q ', stripped' || fail "$program is not stripped"
  grep -qF "$build" "$work/deb/usr/lib/wormgear/$program" && fail "$program names the build folder"
done
# The changelog names the package's version, as the metadata's newest release does.
zcat "$work/deb/usr/share/doc/wormgear/changelog.gz" | head -n 1 | grep -q "^wormgear $version " ||
  fail "changelog.gz does not begin with version $version"
metainfo=$(find "$work/deb/usr/share/metainfo" -name '*.metainfo.xml')
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\">" "$metainfo" ||
  fail "the metadata names no release $version"

# ---- the portable archive: one folder that is the program directory
top=$(basename "$archive" .tar.gz)
expected="$top/1.xls $top/11.xls $top/111.xls $top/1111.xls $top/1111_en.xls $top/11_en.xls $top/1_en.xls $top/LICENSE $top/README.md $top/db1.ccq $top/db1.mdb $top/v.txt $top/wormcalc $top/wormcalc-painting.so $top/wormgear $top/wormgear-solids.so $top/wormgear_en.qm"
actual=$(tar -tzf "$archive" | grep -v '/$' | sort | tr '\n' ' ')
[ "$actual" = "$expected " ] || fail "the archive holds [$actual], expected [$expected ]"
mkdir "$work/portable"
tar -xzf "$archive" -C "$work/portable"
# Unpacked anywhere it runs, keeping its files beside itself (a writable copy).
output=$(HOME="$work/nohome" XDG_DATA_HOME= "$work/portable/$top/wormcalc" --centre-distance 200 --speed-ratio 25 \
  --teeth 50 --starts 2 --base-diameter 130 --pitch-diameter 78 2>&1)
grep -qx '322-----蜗轮分度圆直径' <<<"$output" || fail "the unpacked wormcalc: $output"
[ -e "$work/nohome" ] && fail "the portable copy wrote into the user's folder"

finish packages
