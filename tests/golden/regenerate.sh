#!/usr/bin/env bash
# Regenerates the expected report, plot data and notes of every project in this
# folder with the current engine. Read every diff before committing it:
#   tests/golden/regenerate.sh && git diff --stat tests/golden && git diff tests/golden
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$here/../.."
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target kestra-run Kestra2013_DLL
for project in "$here"/*.kt4d; do
  "$root/build/bin/kestra-run" "$project" >/dev/null || true
done
git -C "$root" status --short -- tests/golden
