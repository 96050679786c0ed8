#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 600) from its
# checked-in seeds, new inputs going to a scratch folder and every machine to a scratch
# WINEPREFIX. Prints each target's executions and whether it found anything; a finding's
# input is kept as crash-*/leak-*/timeout-* in fuzz-out/<target>/. Usage:
#   tools/scripts/run-fuzz.sh [SECONDS] [TARGET...]
# JOBS (default 1) targets run side by side.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_ArchiveExtract fuzz_BatchLines fuzz_FormReader fuzz_Hive fuzz_PEVersion fuzz_Pictures fuzz_RtfReader)
build=${BUILD_DIR:-build-fuzz}
out=$root/fuzz-out

CC=clang CXX=clang++ cmake -S . -B "$build" -DQNL_FUZZ=ON -DQNL_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-} >/dev/null || exit 1
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >/dev/null || exit 1

run_one() {
  local target=$1 dir=$out/$1
  rm -rf "$dir"
  mkdir -p "$dir/corpus" "$dir/machine"
  local extra=()
  [ -f "$root/tests/fuzz/${target#fuzz_}.dict" ] && extra=(-dict="$root/tests/fuzz/${target#fuzz_}.dict")
  (cd "$dir" && WINEPREFIX="$dir/machine" "$root/$build/bin/$target" -max_total_time="$seconds" \
    -print_final_stats=1 "${extra[@]}" "$dir/corpus" "$root/tests/fuzz/corpus/$target" >log.txt 2>&1)
  local status=$?
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$dir/log.txt" | grep -o '[0-9]*$')
  local found
  found=$(find "$dir" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  echo "$target: ${runs:-?} executions in ${seconds} s, exit status $status, $found finding(s)"
}

jobs=${JOBS:-1}
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  run_one "$target" &
done
wait
