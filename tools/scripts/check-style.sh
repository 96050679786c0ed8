#!/usr/bin/env bash
# Checks the layout (.clang-format) and the naming (.clang-tidy) of every source file; prints
# each deviation and fails when there is one. The naming check reads the compile commands of a
# configured build: BUILD_DIR (default build). To apply the layout: clang-format -i FILE...
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-build}
cd "$root"
[ -f "$build/compile_commands.json" ] || { echo "check-style: configure $build first (tools/scripts/run-tests.sh)" >&2; exit 2; }
mapfile -t sources < <(git ls-files '*.h' '*.cpp' '*.c')
clang-format --dry-run --Werror "${sources[@]}"
echo "layout: ${#sources[@]} files as .clang-format has them"
# Every translation unit of the build except the sources it generates.
run-clang-tidy -p "$build" -j "$(nproc)" -quiet "^$root/(?!$build/)" >"$build/check-style.log" 2>&1 || {
  grep -E "(error|warning):" "$build/check-style.log" | sed 's/\x1b\[[0-9;]*m//g' | sort -u >&2
  echo "naming: deviations from .clang-tidy (full output in $build/check-style.log)" >&2
  exit 1
}
echo "naming: every translation unit as .clang-tidy has it"
