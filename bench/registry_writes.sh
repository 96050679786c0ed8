#!/usr/bin/env bash
# Registry writes: time per write for 1,000, 10,000 and 100,000 value writes in one process
# (plus the final flush into system.reg), which must stay flat as the hive grows. Peer: the
# same number of appends of equal-sized lines to a plain file with fdatasync after each,
# the durability mechanism our journal uses.
# usage: bench/registry_writes.sh [SCRATCH_DIR] [COUNTS...]   (SCRATCH_DIR on the disk to measure)
set -euo pipefail
SRC=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$SRC/build}
SCRATCH=${1:-${TMPDIR:-/tmp}}
shift || true
COUNTS=${*:-1000 10000 100000}
cmake --build "$BUILD" --target qnl_platform -j2 > /dev/null
mkdir -p "$BUILD/bench"
c++ -O2 -std=c++20 -I"$SRC" "$SRC/bench/registry_writes.cpp" "$BUILD/lib/libqnl_platform.a" \
  "$BUILD/lib/libqnl_common.a" "$BUILD/lib/libqnl_rtl.a" -o "$BUILD/bench/registry_writes"
printf "%10s %14s %14s %8s\n" writes "registry us/w" "peer us/w" ratio
for n in $COUNTS; do
  work=$(mktemp -d "$SCRATCH/qnl-bench-XXXXXX")
  ours=$("$BUILD/bench/registry_writes" "$work/prefix" "$n" reg)
  peer=$("$BUILD/bench/registry_writes" "$work" "$n" peer)
  printf "%10s %14s %14s %8.2f\n" "$n" "$ours" "$peer" "$(awk -v a="$ours" -v b="$peer" 'BEGIN { print a / b }')"
  rm -rf "$work"
done
