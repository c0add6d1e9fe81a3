#!/usr/bin/env bash
# Warnings are errors only when asked (TESSIVAR_WERROR, as CI does): a user's newer compiler that
# warns of something new still builds. Read off the compile commands of a configured tree.
# Usage: werror_option_test.sh SOURCE_DIR
set -euo pipefail

src=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# commands WHO [OPTION]: configures the Qt-free part into $work/WHO and prints its compile
# commands, one a line.
commands() {
  cmake -S "$src" -B "$work/$1" -G Ninja -DTESSIVAR_GUI=OFF -DTESSIVAR_TESTS=OFF \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${@:2}" >"$work/$1.log" 2>&1 || fail "$1: cmake failed: $(cat "$work/$1.log")"
  grep '"command"' "$work/$1/compile_commands.json"
}

all=$(commands default | wc -l)
[ "$all" -gt 0 ] || fail "no compile commands"
with=$(commands default | grep -c -- ' -Werror' || true)
[ "$with" -eq 0 ] || fail "by default $with of $all compile commands have -Werror"
[ "$(commands default | grep -c -- ' -Wall -Wextra')" -eq "$all" ] || fail "by default not every command warns"
echo "ok: by default the $all compile commands warn, and no warning is an error"

with=$(commands werror -DTESSIVAR_WERROR=ON | grep -c -- ' -Werror' || true)
[ "$with" -eq "$all" ] || fail "with TESSIVAR_WERROR only $with of $all compile commands have -Werror"
echo "ok: with TESSIVAR_WERROR every compile command makes warnings errors"
