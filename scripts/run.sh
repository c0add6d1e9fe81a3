#!/usr/bin/env bash
# Builds Tessivar and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja
cmake --build build
if [ -x build/app/tessivar ]; then
  exec build/app/tessivar
fi
# Until the windows exist: one small calculation, timed.
exec build/bench/tessivar-bench --vars 10 --subjects 300 --replications 50
