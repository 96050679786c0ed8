#!/usr/bin/env bash
# Throughput of the archive against gzip on one corpus of real files (files of /usr/lib and
# /usr/share, about 300 MB, plus the largest file found). Prints ours/gzip ratios (> 1: faster).
#   bench/archive_bench.sh [BUILD_DIR]     (needs the bench_archive target built)
set -euo pipefail
build=${1:-build}
driver=$(realpath "$build")/bin/bench_archive
[ -x "$driver" ] || { echo "build the bench_archive target in $build first" >&2; exit 1; }
work=$(mktemp -d /tmp/archive-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX="$work/machine"
limit=$((${ARCHIVE_BENCH_MB:-300} * 1024 * 1024))

# Regular readable files with short paths (names are stored with at most 100 characters).
big=$(find /usr/lib -xdev -type f -size +20M -size -100M -printf '%s %p\n' 2>/dev/null | sort -n | tail -1 | cut -d' ' -f2-)
{
  [ -n "$big" ] && printf '%s\t%s\n' "$(stat -c %s "$big")" "$big"
  find /usr/lib /usr/share -xdev -type f -readable -size -20M -printf '%s\t%p\n' 2>/dev/null | sort -k2
} | awk -F'\t' -v limit=$limit 'length($2) <= 90 && $2 !~ /[\\:*?"<>|]/ { if (NR > 1 && total + $1 > limit) exit; total += $1; print $2 }' \
  > "$work/list" || true
count=$(wc -l < "$work/list")
bytes=$(tr '\n' '\0' < "$work/list" | du -cb --files0-from=- | tail -1 | cut -f1)
echo "corpus: $count files, $((bytes / 1024 / 1024)) MB, largest: $big"

copy_tree() { rm -rf "$work/tree"; mkdir -p "$work/tree"; tr '\n' '\0' < "$work/list" | xargs -0 cp --parents -t "$work/tree"; }
# Warm the page cache so that both sides read from memory.
tr '\n' '\0' < "$work/list" | xargs -0 cat > /dev/null

seconds() { local s=$(date +%s.%N); "$@" > /dev/null; awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

copy_tree
gzip9=$(seconds gzip -9 -r "$work/tree")
ours9=$(seconds "$driver" add max "$work/max.1" "$work/list")
gunzip=$(seconds gzip -d -r "$work/tree")
mkdir -p "$work/out"
oursx=$(seconds "$driver" extract "$work/max.1" "$work/out")
copy_tree
gzip6=$(seconds gzip -6 -r "$work/tree")
ours6=$(seconds "$driver" add default "$work/def.1" "$work/list")

printf 'Add colMax      %7.2fs  gzip -9  %7.2fs  ratio %s\n' "$ours9" "$gzip9" "$(ratio "$gzip9" "$ours9")"
printf 'Add colDefault  %7.2fs  gzip -6  %7.2fs  ratio %s\n' "$ours6" "$gzip6" "$(ratio "$gzip6" "$ours6")"
printf 'Extract         %7.2fs  gzip -dc %7.2fs  ratio %s\n' "$oursx" "$gunzip" "$(ratio "$gunzip" "$oursx")"
echo "archive sizes: colMax $(stat -c %s "$work/max.1") colDefault $(stat -c %s "$work/def.1") bytes"
