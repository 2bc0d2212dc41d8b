#!/usr/bin/env bash
# wormcalc's bash completion, driven the way bash drives it: the words of a
# typed line in COMP_WORDS, the function's answers in COMPREPLY. The options
# come from the wormcalc that runs; the test reads them from its --help with
# a parser of its own and expects every one.
#
#   completion_test.sh COMPLETION_FILE WORMCALC      (exit 77: no bash-completion)
set -uo pipefail
completion=$1
wormcalc=$2
framework=/usr/share/bash-completion/bash_completion
if [ ! -r "$framework" ]; then
  echo "SKIPPED: $framework is missing; scripts/install-deps.sh --test installs bash-completion"
  exit 77
fi
# shellcheck source=/dev/null
source "$framework"
# shellcheck source=/dev/null
source "$completion"
[ "$(complete -p wormcalc 2>/dev/null)" = "complete -F _wormcalc wormcalc" ] || {
  echo "FAILED: the file does not register a completion for wormcalc"
  exit 1
}
# The completion runs "wormcalc": the one under test.
PATH=$(dirname "$wormcalc"):$PATH

# shellcheck source=packaging/tests/test_helpers.sh
source "$(dirname "$0")/test_helpers.sh"
cd "$work" || exit 1
mkdir designs
touch gear.cqb OLD.CQB sheet.xlsx notes.txt

# expect "LINE" "WORD|WORD|..." "ANSWERS": the line as typed, the words bash
# makes of it (split at blanks and at '='), the sorted answers.
expect() {
  local line=$1 answers
  IFS='|' read -r -a COMP_WORDS <<<"$2|"
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  _wormcalc wormcalc "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  answers=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  answers=${answers% }
  [ "$answers" = "$3" ] || fail "\"$line\" gave [$answers], expected [$3]"
}

# Options, also those that share a line of the help with another.
expect "wormcalc --exp" "wormcalc|--exp" "--export-hob --export-wheel --export-worm"
expect "wormcalc --hob" "wormcalc|--hob" "--hob-accuracy"
expect "wormcalc --exi" "wormcalc|--exi" "--exit-relief"
expect "wormcalc --json" "wormcalc|--json" "--json --jsonl"
expect "wormcalc --lang" "wormcalc|--lang" "--language"
# Every option the help names, by the test's own reading of it.
all=$(LC_ALL=C.UTF-8 "$wormcalc" --help | grep -oE -- '--[a-z][a-z0-9-]+' | sort -u | tr '\n' ' ')
expect "wormcalc --" "wormcalc|--" "${all% }"
# A sheet takes any file name; with '=' too.
expect "wormcalc --export-worm " "wormcalc|--export-worm|" "OLD.CQB designs gear.cqb notes.txt sheet.xlsx"
expect "wormcalc --export-wheel=" "wormcalc|--export-wheel|=|" "OLD.CQB designs gear.cqb notes.txt sheet.xlsx"
expect "wormcalc --export-hob=sh" "wormcalc|--export-hob|=|sh" "sheet.xlsx"
expect "wormcalc --save-design " "wormcalc|--save-design|" "OLD.CQB designs gear.cqb notes.txt sheet.xlsx"
expect "wormcalc --language " "wormcalc|--language|" "en zh"
expect "wormcalc --language=e" "wormcalc|--language|=|e" "en"
# A value the user types: nothing to offer.
expect "wormcalc --centre-distance " "wormcalc|--centre-distance|" ""
expect "wormcalc --teeth=" "wormcalc|--teeth|=|" ""
expect "wormcalc --coefficients " "wormcalc|--coefficients|" ""
# Otherwise a design file (or a folder on the way to one).
expect "wormcalc " "wormcalc|" "OLD.CQB designs gear.cqb"
expect "wormcalc --round-teeth " "wormcalc|--round-teeth|" "OLD.CQB designs gear.cqb"
expect "wormcalc --json g" "wormcalc|--json|g" "gear.cqb"
# After "--" every word is a design file, even one that looks like an option.
expect "wormcalc -- --e" "wormcalc|--|--e" ""
expect "wormcalc -- " "wormcalc|--|" "OLD.CQB designs gear.cqb"

finish completion
