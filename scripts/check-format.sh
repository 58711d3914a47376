#!/usr/bin/env bash
# Checks that every C++ source follows .clang-format (fix with: clang-format -i FILE).
set -euo pipefail
cd "$(dirname "$0")/.."
KESTRA_EXTRA_PACKAGES="clang-format" . scripts/deps.sh
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "format: every source follows .clang-format"
