#!/usr/bin/env bash
# Building a distribution and installing it, against makeself on the same tree at the same
# compression level (9). One real tree: at most 1999 files (an install file's UniqueID goes up
# to 1999) of /usr/lib and /usr/share, about DIST_BENCH_MB (default 250) MB. Prints the
# median of RUNS (default 3) runs of each side and the ratios ours / makeself (< 1: faster),
# the peak memory of one more install of each side, and our build and install with one thread
# against all.
#   bench/distribution_bench.sh [BUILD_DIR]   (needs setup, quenloft, QuenloftLoadProgram built)
set -euo pipefail
cd "$(dirname "$0")/.."
name=dist-bench
source bench/distribution_common.sh "$@"
limit=$((${DIST_BENCH_MB:-250} * 1024 * 1024))
runs=${RUNS:-3}

gather_tree "$limit"
count=$(wc -l < "$work/list")

make_project < "$work/list"
echo '#!/bin/sh' > "$work/noop.sh"; chmod +x "$work/noop.sh"; cp "$work/noop.sh" "$work/tree/"

# Warm the page cache so that both sides read from memory.
cat "$work/project/setup" > /dev/null; find "$work/tree" -type f -exec cat {} + > /dev/null
time_both_sides
installed=$(find "$work/machine/drive_c/Program Files/Bench Product" -type f | wc -l)
extracted=$(find "$work/peer-out" -type f | wc -l)
[ "$installed" -eq "$count" ] || { echo "installed $installed of $count files" >&2; exit 1; }
echo "distribution: ours $(du -m "$work/dist/setup.exe" | cut -f1) MB, makeself $(du -m "$work/peer.run" | cut -f1) MB"
echo "installed files: ours $installed, makeself $extracted"
echo "build:   ours ${b1}s  makeself ${b2}s  ratio ours/makeself $(ratio "$b1" "$b2")   (runs: ${ob[*]} / ${pb[*]})"
echo "install: ours ${i1}s  makeself ${i2}s  ratio ours/makeself $(ratio "$i1" "$i2")   (runs: ${oi[*]} / ${pi[*]})"
rm -rf "$work/machine" "$work/peer-out"
m1=$(peak_mib env WINEPREFIX="$work/machine" "$work/dist/setup.exe")
m2=$(peak_mib "$work/peer.run" --noexec --nox11 --quiet --target "$work/peer-out")
echo "install peak memory: ours ${m1} MiB  makeself ${m2} MiB  (archive $(du -m "$work/dist/setup.exe" | cut -f1) MB)"
rm -rf "$work/dist"
m3=$(peak_mib env WINEPREFIX="$work/author" QUENLOFT_PATH="$bin" "$work/project/setup" -b)
echo "build peak memory: ours ${m3} MiB  (tree $(du -sm "$work/tree" | cut -f1) MB)"
# The same build with one thread: members are deflated ahead on the other cores otherwise.
single=()
for _ in $(seq "$runs"); do single+=("$(QUENLOFT_THREADS=1 seconds ours_build)"); done
s1=$(echo "${single[*]}" | median)
echo "build threads: one ${s1}s  all $(nproc) ${b1}s  ratio all/one $(ratio "$b1" "$s1")   (runs: ${single[*]})"
# The same install with one thread: the next members are inflated ahead on the other cores otherwise.
single=()
for _ in $(seq "$runs"); do single+=("$(QUENLOFT_THREADS=1 seconds ours_install)"); done
s1=$(echo "${single[*]}" | median)
echo "install threads: one ${s1}s  all $(nproc) ${i1}s  ratio all/one $(ratio "$i1" "$s1")   (runs: ${single[*]})"
