#!/usr/bin/env bash
# The shipped executable holds the program only: no symbol of the test-only libraries is linked
# into it, and no path of the machine that built it is written in it.
# Usage: shipped_program_test.sh PATH/TO/tessivar SOURCE_DIR BUILD_DIR TEST_LIBRARY...
# SOURCE_DIR and BUILD_DIR given as - skip the path check (a sanitizer's reports name the sources).
set -euo pipefail

exe=$1
dirs=()
[ "$2" != - ] && dirs+=("$(realpath "$2")")
[ "$3" != - ] && dirs+=("$(realpath "$3")")
shift 3
status=0

# Every function and object that a test-only library defines for others to link.
test_symbols=$(nm --defined-only --extern-only --format=posix "$@" 2>/dev/null |
  awk 'NF >= 2 && $2 ~ /^[TDBR]$/ { print $1 }' | sort -u)
[ -n "$test_symbols" ] || { echo "FAIL: no symbols found in the test-only libraries" >&2; exit 1; }
linked=$(comm -12 <(echo "$test_symbols") <(nm --defined-only --format=posix "$exe" | awk '{ print $1 }' | sort -u))
if [ -n "$linked" ]; then
  echo "FAIL: test-only symbols in $exe:" >&2
  echo "$linked" | c++filt >&2
  status=1
fi
if nm -C --defined-only "$exe" | grep -E 'fw::testing::|startup_testing' >&2; then
  echo "FAIL: test seams in $exe (above)" >&2
  status=1
fi

for dir in "${dirs[@]}"; do
  if strings -a "$exe" | grep -F -- "$dir" >&2; then
    echo "FAIL: $exe names $dir (above)" >&2
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "ok: $(echo "$test_symbols" | wc -l) test-only symbols, none linked; no build path (${#dirs[@]} folders checked)"
exit "$status"
