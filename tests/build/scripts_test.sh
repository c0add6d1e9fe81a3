#!/usr/bin/env bash
# The build scripts refuse what they do not know, before they do anything; the cross check fails,
# showing why, when a step of it fails. Every tool the scripts would run is a stand-in here that
# notes its call.
# Usage: scripts_test.sh SOURCE_DIR
set -uo pipefail

src=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A copy of the scripts, so that nothing runs in the source tree.
mkdir -p "$work/tree/scripts" "$work/bin"
cp "$src"/scripts/*.sh "$work/tree/scripts/"
for tool in apt-get dpkg-query sudo localedef cmake ctest ninja wine wineserver; do
  cat >"$work/bin/$tool" <<STUB
#!/usr/bin/env bash
echo "$tool \$*" >>"$work/calls"
case "$tool \$1" in
  "dpkg-query "*) printf 'install ok installed' ;;
  "wine wineboot") [ -z "\${WINEBOOT_FAILS:-}" ] || { echo "wineboot: cannot make the prefix"; exit 1; } ;;
  "wine "*) [ -z "\${BENCH_FAILS:-}" ] || { echo "bench: cannot start"; exit 1; }
            printf '  whole   21.0 ms\r\n' ;;
esac
exit 0
STUB
  chmod +x "$work/bin/$tool"
done
export PATH="$work/bin:$PATH"

# run SCRIPT ARGS...: runs the copy of the script; code, out and err hold what it gave.
run() {
  rm -f "$work/calls"
  "$work/tree/scripts/$1" "${@:2}" >"$work/out" 2>"$work/err"
  code=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

# Refused: usage on standard error, a non-zero code, and not one tool run.
refused=(
  "test.sh --sanitise"
  "test.sh --sanitize extra"
  "test.sh -h"
  "setup.sh --tests"
  "setup.sh --test --cross"
  "run.sh --sanitize"
  "cross-test.sh --fast"
)
for row in "${refused[@]}"; do
  read -r -a args <<<"$row"
  run "${args[@]}"
  [ "$code" -ne 0 ] || fail "$row: exit code 0"
  grep -q '^usage: ' <<<"$err" || fail "$row: no usage on standard error: $err"
  [ ! -e "$work/calls" ] || fail "$row: ran $(head -n 1 "$work/calls") before refusing"
  echo "ok: $row is refused with code $code"
done

# Taken: the arguments that the scripts know.
run setup.sh --test
[ "$code" -eq 0 ] || fail "setup.sh --test: code $code: $err"
run test.sh --sanitize
[ "$code" -eq 0 ] || fail "test.sh --sanitize: code $code: $err"
grep -q -- '-DTESSIVAR_SANITIZE=ON' "$work/calls" || fail "test.sh --sanitize built no sanitizer build"
echo "ok: the known arguments are taken"

# A failing step of the cross check fails it and shows what the step printed.
for step in WINEBOOT_FAILS BENCH_FAILS; do
  env "$step=1" "$work/tree/scripts/cross-test.sh" >"$work/out" 2>"$work/err"
  code=$?
  [ "$code" -ne 0 ] || fail "cross-test.sh with $step: exit code 0"
  grep -q 'cannot' "$work/err" || fail "cross-test.sh with $step did not show the failure: $(cat "$work/err")"
  echo "ok: cross-test.sh fails with code $code, showing the failure, when $step"
done
