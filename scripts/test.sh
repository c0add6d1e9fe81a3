#!/usr/bin/env bash
# Builds Tessivar and runs every test.  --sanitize builds into build-asan with ASan and UBSan.
set -euo pipefail

usage() {
  echo "usage: scripts/test.sh [--sanitize]" >&2
  exit 2
}
case ${1:-} in
  "" | --sanitize) [ $# -le 1 ] || usage ;;
  *) usage ;;
esac
cd "$(dirname "$0")/.."
scripts/setup.sh --test

dir=build
# Warnings fail the build here, as in CI; a user's build only shows them.
flags=(-DTESSIVAR_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags+=(-DTESSIVAR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}"
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
