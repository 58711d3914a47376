#!/usr/bin/env bash
# Builds KESTRA with every test and runs them. Options: --sanitize builds in
# build-asan with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DKESTRA_SANITIZE=ON -DKESTRA_BENCH=OFF)
fi
if [ -n "${CI:-}" ]; then flags+=(-DKESTRA_WERROR=ON); fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
