#!/usr/bin/env bash
# Started where there is no display, the program says so in one line on standard error and ends
# with exit code 1: no abort, no core file.
# Usage: no_display_test.sh PATH/TO/tessivar
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

for display in "" ":99999"; do
  what=${display:-no DISPLAY}
  if [ -n "$display" ]; then
    env_display=(DISPLAY="$display")
  else
    env_display=()
  fi
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$dir/runtime" "${env_display[@]}" \
    "$exe" >out.txt 2>err.txt
  code=$?
  [ "$code" -eq 1 ] || fail "$what: exit code $code, not 1; standard error: $(cat err.txt)"
  [ "$(wc -l <err.txt)" -eq 1 ] || fail "$what: not one line on standard error: $(cat err.txt)"
  grep -q 'display' err.txt || fail "$what: the line does not name the display: $(cat err.txt)"
  [ ! -s out.txt ] || fail "$what: output on standard output: $(cat out.txt)"
  ! ls core* >/dev/null 2>&1 || fail "$what: a core file was left"
  echo "ok: $what: exit code 1 and one line: $(cat err.txt)"
done
