#!/usr/bin/env bash
# Fails on any C++ file of the project that clang-format (.clang-format) would change.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -d '' files < <(git ls-files -z '*.h' '*.cpp' '*.c')
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files as clang-format lays them out"
