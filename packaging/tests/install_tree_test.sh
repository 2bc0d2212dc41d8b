#!/usr/bin/env bash
# The installation as a desktop and a user meet it: `cmake --install` into a
# temporary prefix, the layout checked, the desktop entry and the metadata
# passed through the desktop's own validators, the file types through
# shared-mime-info, the manual pages against wormcalc's --help, and the
# installed wormcalc run through its link in bin/, also with a program
# directory the user cannot write (its files then go to the user's data folder).
#
#   install_tree_test.sh BUILD_DIR APP_ID      (exit 77: a validator is missing)
set -uo pipefail
build=$1
app_id=$2

# shellcheck source=packaging/tests/test_helpers.sh
source "$(dirname "$0")/test_helpers.sh"
require desktop-file-validate appstreamcli update-mime-database
prefix=$work/usr
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAILED: cmake --install"
  exit 1
fi

# ---- layout: the program directory holds exactly the programs and their data
program_dir=$prefix/lib/wormgear
expected="1.xls 11.xls 111.xls 1111.xls 1111_en.xls 11_en.xls 1_en.xls db1.ccq db1.mdb v.txt wormcalc wormcalc-painting.so wormgear wormgear-solids.so wormgear_en.qm"
actual=$(cd "$program_dir" && ls -A | sort | tr '\n' ' ')
[ "$actual" = "$expected " ] || fail "lib/wormgear holds [$actual], expected [$expected ]"
for program in wormgear wormcalc; do
  [ -x "$program_dir/$program" ] || fail "lib/wormgear/$program is not executable"
  link=$prefix/bin/$program
  [ -L "$link" ] || fail "bin/$program is not a link"
  [ "$(readlink "$link")" = "../lib/wormgear/$program" ] || fail "bin/$program points to $(readlink "$link")"
  [ "$(readlink -f "$link")" = "$(readlink -f "$program_dir/$program")" ] || fail "bin/$program does not resolve"
done
for file in db1.mdb db1.ccq 1.xls 11.xls 1111.xls 111.xls 1_en.xls 11_en.xls 1111_en.xls wormgear_en.qm v.txt; do
  [ -x "$program_dir/$file" ] && fail "lib/wormgear/$file is executable"
done
for file in "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
  "share/icons/hicolor/scalable/apps/$app_id.svg" "share/mime/packages/$app_id.xml" \
  share/man/man1/wormcalc.1.gz share/man/man1/wormgear.1.gz \
  share/bash-completion/completions/wormcalc share/doc/wormgear/copyright; do
  [ -s "$prefix/$file" ] || fail "$file is missing"
done

# ---- desktop entry and metadata, by the validators software centres use
desktop=$prefix/share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --explain "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = "wormgear %f" ] || fail "Exec=$(entry Exec)"
[ "$(entry Icon)" = "$app_id" ] || fail "Icon=$(entry Icon) names no installed icon"
[ "$(entry Categories)" = "Science;Engineering;" ] || fail "Categories=$(entry Categories)"
for key in 'Name' 'Name\[zh_CN\]' 'Comment' 'Comment\[zh_CN\]'; do
  [ -n "$(entry "$key")" ] || fail "$key is missing"
done
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$prefix/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metadata does not launch the installed desktop entry"

# ---- file types: shared-mime-info's own compiler, then its lookup tables
mime_type=$(entry MimeType)
[ "$mime_type" = "application/x-wormgear-design;" ] || fail "MimeType=$mime_type"
# (It notes that the temporary prefix is not among the folders desktops search.)
update-mime-database "$prefix/share/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/mime.log")"
grep -qx '50:application/x-wormgear-design:\*.cqb' "$prefix/share/mime/globs2" || fail "*.cqb is not a design file"
grep -qx '50:application/x-wormgear-settings:\*.ccq' "$prefix/share/mime/globs2" || fail "*.ccq is not a settings file"
grep -qx 'application/x-wormgear-design application/vnd.openxmlformats-officedocument.spreadsheetml.sheet' \
  "$prefix/share/mime/subclasses" || fail "a design file is not a spreadsheet"
grep -qx 'application/x-wormgear-settings application/vnd.sqlite3' "$prefix/share/mime/subclasses" ||
  fail "a settings file is not an SQLite database"

# ---- manual pages: every option wormcalc --help lists is in its page
page=$(zcat "$prefix/share/man/man1/wormcalc.1.gz" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
options=$(LC_ALL=C.UTF-8 "$prefix/bin/wormcalc" --help | grep -oE -- '--[a-z][a-z0-9-]+' | sort -u)
[ -n "$options" ] || fail "wormcalc --help lists no options"
for option in $options; do
  grep -q -- "$option" <<<"$page" || fail "the manual page lacks $option"
done
grep -q '^\.TH WORMCALC "\?1' <<<"$page" || fail "the manual page has no title line"
zcat "$prefix/share/man/man1/wormgear.1.gz" | grep -q '^\.TH WORMGEAR 1' || fail "wormgear's manual page"

# ---- the installed programs find their files through the link in bin/
example=(--centre-distance 200 --speed-ratio 25 --teeth 50 --starts 2 --base-diameter 130 --pitch-diameter 78)
# The wheel's pitch diameter is 2A - d1 = 400 - 78 = 322.
check_example() {  # runs wormcalc (with a command in front), checks the worked example
  local output
  output=$("$@" "$prefix/bin/wormcalc" "${example[@]}" --export-worm "$work/out/worm.xlsx" 2>&1)
  grep -qx '322-----蜗轮分度圆直径' <<<"$output" || {
    echo "$output"
    return 1
  }
  [ -s "$work/out/worm.xlsx" ]
}
mkdir -p "$work/out"
chmod 0777 "$work/out"
check_example env || fail "the installed wormcalc did not calculate the worked example"
rm -f "$work/out/worm.xlsx"
# The painted outputs come from the module beside the installed program.
"$prefix/bin/wormcalc" "${example[@]}" --drawing-wheel "$work/out/wheel.svg" >/dev/null 2>&1 &&
  grep -q '<svg' "$work/out/wheel.svg" || fail "the installed wormcalc did not paint through its module"
rm -f "$work/out/wheel.svg"

# ---- an installed program directory the user cannot write: the user's data
# folder receives a copy of the shipped coefficients, the program directory
# nothing; a broken data folder is named in the message.
as_user=()
if [ "$(id -u)" -ne 0 ]; then
  chmod a-w "$program_dir"
elif command -v setpriv >/dev/null; then
  chmod 0755 "$work"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  echo "NOTE: running as root without setpriv: the read-only program directory is not tried"
fi
if [ "$(id -u)" -ne 0 ] || [ ${#as_user[@]} -gt 0 ]; then
  mkdir -p "$work/home"
  chmod 0777 "$work/home"
  before=$(ls -A "$program_dir" | sort)
  check_example "${as_user[@]}" env HOME="$work/home" XDG_DATA_HOME= ||
    fail "wormcalc with a program directory the user cannot write"
  seeded=$work/home/.local/share/wormgear/db1.mdb
  cmp -s "$seeded" "$program_dir/db1.mdb" || fail "the user's data folder got no copy of db1.mdb"
  [ "$(ls -A "$program_dir" | sort)" = "$before" ] || fail "the program directory changed"
  # The user's own copy is the one read: a damaged one fails the calculation.
  echo "not a database" >"$seeded"
  "${as_user[@]}" env HOME="$work/home" XDG_DATA_HOME= "$prefix/bin/wormcalc" "${example[@]}" >/dev/null 2>&1 &&
    fail "wormcalc did not read the user's copy of db1.mdb"
  cmp -s "$program_dir/db1.mdb" "$build/bin/db1.mdb" || fail "the shipped db1.mdb changed"
  # A data folder that is a file.
  message=$("${as_user[@]}" env XDG_DATA_HOME="$seeded" "$prefix/bin/wormcalc" "${example[@]}" 2>&1 >/dev/null)
  grep -q "无法使用数据文件夹“$seeded/wormgear/”：Not a directory" <<<"$message" ||
    fail "a broken data folder was not named: $message"
fi

finish "install tree"
