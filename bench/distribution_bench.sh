#!/usr/bin/env bash
# Building a distribution and installing it, against makeself on the same tree at the same
# compression level (9). One real tree: at most 1999 files (an install file's UniqueID goes up
# to 1999) of /usr/lib and /usr/share, about DIST_BENCH_MB (default 250) MB. Prints the
# median of RUNS (default 3) runs of each side and the ratios ours / makeself (< 1: faster).
#   bench/distribution_bench.sh [BUILD_DIR]   (needs setup, quenloft, QuenloftLoadProgram built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
bin=$build/bin
for p in setup quenloft QuenloftLoadProgram.exe; do
  [ -x "$bin/$p" ] || { echo "build setup, quenloft and QuenloftLoadProgram in $build first" >&2; exit 1; }
done
command -v makeself > /dev/null || { echo "makeself is not installed (apt-get install makeself)" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d /tmp/dist-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
limit=$((${DIST_BENCH_MB:-250} * 1024 * 1024))
runs=${RUNS:-3}

# Regular readable files whose names Windows accepts, in name order, up to the size limit.
find /usr/lib /usr/share -xdev -type f -readable -size -20M -printf '%s\t%p\n' 2>/dev/null |
  LC_ALL=C sort -t$'\t' -k2,2 |
  awk -F'\t' -v limit=$limit '$2 ~ /^[ -~]+$/ && $2 !~ /[\\:*?"<>|]/ {
      if (total + $1 > limit || n == 1999) exit; total += $1; n++; print substr($2, 2) }' > "$work/list" || true
mkdir -p "$work/tree"
(cd / && tr '\n' '\0' < "$work/list" | xargs -0 cp --parents -t "$work/tree")
count=$(wc -l < "$work/list")
echo "tree: $count files, $(du -sm "$work/tree" | cut -f1) MB"

python3 bench/make_bench_project.py "$work/tree" "Bench Product" < "$work/list" > "$work/formMain.txt"
mkdir -p "$work/project"
"$bin/quenloft" compile "$work/formMain.txt" -o "$work/project/setup" > /dev/null
printf 'Z:%s\r\n' "$(echo "$work/dist" | tr / '\\')" > "$work/project/BUILD.INF"
echo '#!/bin/sh' > "$work/noop.sh"; chmod +x "$work/noop.sh"; cp "$work/noop.sh" "$work/tree/"

seconds() { local s; s=$(date +%s.%N); "$@" > /dev/null 2>&1; awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

ours_build() { rm -rf "$work/dist"; WINEPREFIX="$work/author" QUENLOFT_PATH="$bin" "$work/project/setup" -b; }
peer_build() { rm -f "$work/peer.run"; makeself --gzip --complevel 9 --nox11 "$work/tree" "$work/peer.run" bench ./noop.sh; }
ours_install() { rm -rf "$work/machine"; WINEPREFIX="$work/machine" "$work/dist/setup.exe"; }
peer_install() { rm -rf "$work/peer-out"; "$work/peer.run" --noexec --nox11 --quiet --target "$work/peer-out"; }

# Warm the page cache so that both sides read from memory.
cat "$work/project/setup" > /dev/null; find "$work/tree" -type f -exec cat {} + > /dev/null
ob=() pb=() oi=() pi=()
for _ in $(seq "$runs"); do
  ob+=("$(seconds ours_build)"); pb+=("$(seconds peer_build)")
  oi+=("$(seconds ours_install)"); pi+=("$(seconds peer_install)")
done
[ -s "$work/dist/setup.exe" ] && [ -s "$work/peer.run" ] || { echo "a build failed" >&2; exit 1; }
installed=$(find "$work/machine/drive_c/Program Files/Bench Product" -type f | wc -l)
extracted=$(find "$work/peer-out" -type f | wc -l)
[ "$installed" -eq "$count" ] || { echo "installed $installed of $count files" >&2; exit 1; }
echo "distribution: ours $(du -m "$work/dist/setup.exe" | cut -f1) MB, makeself $(du -m "$work/peer.run" | cut -f1) MB"
echo "installed files: ours $installed, makeself $extracted"
b1=$(echo "${ob[*]}" | median); b2=$(echo "${pb[*]}" | median)
i1=$(echo "${oi[*]}" | median); i2=$(echo "${pi[*]}" | median)
echo "build:   ours ${b1}s  makeself ${b2}s  ratio ours/makeself $(ratio "$b1" "$b2")   (runs: ${ob[*]} / ${pb[*]})"
echo "install: ours ${i1}s  makeself ${i2}s  ratio ours/makeself $(ratio "$i1" "$i2")   (runs: ${oi[*]} / ${pi[*]})"
