#!/usr/bin/env bash
# Cross-builds the Qt-free part (engine, framework/core, the bench and their tests) for 64-bit
# Arm Linux and for 64-bit Windows, and runs its tests under qemu-user and under Wine. The
# Windows run tries every kernel width, so a vector kernel that only fails there shows here.
set -euo pipefail
if [ $# -gt 0 ]; then
  echo "usage: scripts/cross-test.sh" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
scripts/setup.sh --cross

# shown COMMAND...: prints what COMMAND printed; if it fails, that output goes to standard error
# and the script fails with it.
shown() {
  local out
  if ! out=$("$@" 2>&1); then
    printf '%s\n' "$out" >&2
    echo "cross-test: failed: $*" >&2
    exit 1
  fi
  printf '%s\n' "$out"
}
# whole_line BENCH_OUTPUT: the bench's line for the whole calculation.
whole_line() {
  tr -d '\r' <<<"$1" | grep -E '^  whole' || { printf '%s\n' "$1" >&2; echo "cross-test: no timing" >&2; exit 1; }
}

# Wine headless and quiet, in a prefix of its own that goes away afterwards.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
shown wine wineboot --init >/dev/null

targets=(aarch64-linux-gnu x86_64-w64-mingw32)
for target in "${targets[@]}"; do
  echo "== building for $target"
  shown cmake -S . -B "build-$target" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$target.cmake" -DTESSIVAR_GUI=OFF \
    -DTESSIVAR_FUZZ=OFF -DTESSIVAR_GTEST_SOURCE=/usr/src/googletest -DTESSIVAR_WERROR=ON >/dev/null
  cmake --build "build-$target"
done

# The engine's speed under Wine next to the native build's, when there is one.
bench=(--vars 200 --subjects 2500 --replications 20)
if [ -x build/bench/tessivar-bench ]; then
  out=$(shown build/bench/tessivar-bench "${bench[@]}")
  line=$(whole_line "$out")
  echo "== native: $line"
fi
out=$(shown wine build-x86_64-w64-mingw32/bench/tessivar-bench.exe "${bench[@]}")
line=$(whole_line "$out")
echo "== Wine:   $line"

for target in "${targets[@]}"; do
  echo "== testing for $target"
  ctest --test-dir "build-$target" --output-on-failure -j "$(nproc)"
done
