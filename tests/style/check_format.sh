#!/usr/bin/env bash
# Fails when a C++ source of the repository differs from what .clang-format
# makes of it; prints the places.
set -euo pipefail
cd "$1"
if ! command -v clang-format >/dev/null; then
  echo "clang-format is not installed" >&2
  exit 1
fi
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "code style: every source follows .clang-format"
