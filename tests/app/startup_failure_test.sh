#!/usr/bin/env bash
# Started where Qt cannot start, the program says why in one line on standard error and ends with
# exit code 1: no abort, no core file. Without a display the line says so; for another cause it
# gives Qt's own reason, such as the name of a platform plugin that is not there.
# Usage: startup_failure_test.sh PATH/TO/tessivar
set -uo pipefail

exe=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
mkdir -m 700 runtime
ulimit -c unlimited 2>/dev/null

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# what | environment | a fixed string that the line holds | one that it must not | on a display
cases=(
  "no DISPLAY||DISPLAY is not set||"
  "a display that is not there|DISPLAY=:99999|cannot open display :99999||"
  "an unknown platform plugin|QT_QPA_PLATFORM=bogus|\"bogus\"|display|xvfb"
)
for row in "${cases[@]}"; do
  IFS='|' read -r what environment says never on <<<"$row"
  # xvfb-run gives the program a working display in DISPLAY.
  run=()
  [ "$on" != xvfb ] || run=(xvfb-run -a -s "-nolisten tcp" env)
  # shellcheck disable=SC2086 # the environment is a list of words
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$dir/runtime" \
    "${run[@]}" $environment "$exe" >out.txt 2>err.txt
  code=$?
  [ "$code" -eq 1 ] || fail "$what: exit code $code, not 1; standard error: $(cat err.txt)"
  [ "$(wc -l <err.txt)" -eq 1 ] || fail "$what: not one line on standard error: $(cat err.txt)"
  grep -qF "$says" err.txt || fail "$what: the line does not say $says: $(cat err.txt)"
  [ -z "$never" ] || ! grep -qF "$never" err.txt || fail "$what: the line speaks of $never: $(cat err.txt)"
  [ ! -s out.txt ] || fail "$what: output on standard output: $(cat out.txt)"
  ! ls core* >/dev/null 2>&1 || fail "$what: a core file was left"
  echo "ok: $what: exit code 1 and one line: $(cat err.txt)"
done
