#!/usr/bin/env bash
# Builds KESTRA and analyses the bundled example project with kestra-run.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRA_BENCH=OFF >/dev/null
cmake --build build --target kestra-run Kestra2013_DLL
./build/bin/kestra-run "${@:-examples/cantilever_sand.kt4d}"
