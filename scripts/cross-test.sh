#!/usr/bin/env bash
# Cross-builds the Qt-free part (engine, framework/core, the bench and their tests) for 64-bit
# Arm Linux and for 64-bit Windows, and runs its tests under qemu-user and under Wine. The
# Windows run tries every kernel width, so a vector kernel that only fails there shows here.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --cross

# Wine headless and quiet, in a prefix of its own that goes away afterwards.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
wine wineboot --init >/dev/null 2>&1

targets=(aarch64-linux-gnu x86_64-w64-mingw32)
for target in "${targets[@]}"; do
  echo "== building for $target"
  cmake -S . -B "build-$target" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$target.cmake" -DTESSIVAR_GUI=OFF \
    -DTESSIVAR_FUZZ=OFF -DTESSIVAR_GTEST_SOURCE=/usr/src/googletest >/dev/null
  cmake --build "build-$target"
done

# The engine's speed under Wine next to the native build's, when there is one.
bench=(--vars 200 --subjects 2500 --replications 20)
if [ -x build/bench/tessivar-bench ]; then
  echo "== native: $(build/bench/tessivar-bench "${bench[@]}" | grep -E '^  whole')"
fi
echo "== Wine:   $(wine build-x86_64-w64-mingw32/bench/tessivar-bench.exe "${bench[@]}" | tr -d '\r' | grep -E '^  whole')"

for target in "${targets[@]}"; do
  echo "== testing for $target"
  ctest --test-dir "build-$target" --output-on-failure -j "$(nproc)"
done
