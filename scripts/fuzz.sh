#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a few seconds
# (default 30) on a copy of its seed corpus. Stops on the first finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
KESTRA_EXTRA_PACKAGES="clang libclang-rt-14-dev" . scripts/deps.sh
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRA_FUZZ=ON -DKESTRA_TESTS=OFF -DKESTRA_BENCH=OFF >/dev/null
targets=$(cd fuzz && ls *_fuzz.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build build-fuzz --target $targets
for t in $targets; do
  corpus=$(mktemp -d)
  seeds="fuzz/seeds/${t%_fuzz}"
  if [ -d "$seeds" ]; then cp -r "$seeds"/. "$corpus"/; fi
  echo "fuzzing $t for ${seconds}s"
  (cd "$corpus" && "$OLDPWD/build-fuzz/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -print_final_stats=0 . >"$corpus/log.txt" 2>&1) || { tail -n 60 "$corpus/log.txt"; exit 1; }
  tail -n 1 "$corpus/log.txt"
  rm -rf "$corpus"
done
