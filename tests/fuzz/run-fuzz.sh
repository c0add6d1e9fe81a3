#!/usr/bin/env bash
# Builds the property list fuzzer with clang's libFuzzer (and ASan/UBSan) and runs it for a
# bounded time. Usage: run-fuzz.sh BUILD_DIR [SECONDS]. Exits 77 (skipped) when no clang with
# libFuzzer is installed; scripts/setup.sh --test installs one.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
src="$(cd "$here/../.." && pwd)"
out="${1:?usage: run-fuzz.sh BUILD_DIR [SECONDS]}"
seconds="${2:-45}"

cxx=""
for c in clang++-14 clang++; do
  if command -v "$c" >/dev/null 2>&1; then cxx="$c"; break; fi
done
if [ -z "$cxx" ]; then
  echo "no clang++ found: the fuzzer is not built"
  exit 77
fi

mkdir -p "$out/corpus"
flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -Wall -Wextra -Werror -I"$src")
if ! "$cxx" "${flags[@]}" -o "$out/property_list_fuzz" \
     "$here/PropertyListFuzz.cpp" "$src/framework/core/PropertyString.cpp"; then
  # A clang without its runtime libraries cannot link libFuzzer: say so rather than fail.
  if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
       "$cxx" -x c++ -fsanitize=fuzzer -o "$out/probe" - >/dev/null 2>&1; then
    echo "$cxx cannot link libFuzzer: the fuzzer is not built"
    exit 77
  fi
  exit 1
fi
cp -n "$here"/seeds/* "$out/corpus/" 2>/dev/null || true
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
exec "$out/property_list_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$out/corpus"
