# Sourced by the packaging tests: a skip where a tool is missing, failures
# counted so that one run reports every fault, and a temporary folder that is
# removed at exit.

# require TOOL...: exits 77 (skipped, with the reason) when one is missing.
require() {
  local tool
  for tool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is missing; scripts/install-deps.sh --test installs it"
      exit 77
    fi
  done
}

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# finish NAME: the exit status of the whole test.
finish() {
  [ "$failures" -eq 0 ] || exit 1
  echo "$1: all checks passed"
}

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
