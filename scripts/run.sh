#!/usr/bin/env bash
# Builds Tessivar (the program and its pictures, not the tests) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja
cmake --build build --target tessivar
exec build/app/tessivar
