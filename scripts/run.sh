#!/usr/bin/env bash
# Builds Tessivar (the program and its pictures, not the tests) and starts it.
set -euo pipefail
if [ $# -gt 0 ]; then
  echo "usage: scripts/run.sh" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
scripts/setup.sh
# A newer compiler's new warning is shown, not fatal.
cmake -S . -B build -G Ninja -DTESSIVAR_WERROR=OFF
cmake --build build --target tessivar
exec build/app/tessivar
